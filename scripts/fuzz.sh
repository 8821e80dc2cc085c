#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each: first its seed corpus
# (fuzz/corpus/NAME), then new inputs for SECONDS (default 60). Any crash, leak, sanitizer
# report, input slower than 5 s or memory beyond 2 GB fails the run; the input that did it is
# kept in build-fuzz/artifacts/. New interesting inputs go to build-fuzz/corpus/NAME, which
# later runs start from.
#   fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
folder="$root/build-fuzz"

if [ ! -f "$folder/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLFEN_FUZZ=ON >/dev/null
fi
cmake --build "$folder" --target fuzzers -- --quiet

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for target in "$folder"/bin/fuzz_*; do
    names+=("$(basename "$target" | sed 's/^fuzz_//')")
  done
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions="$root/tests/lsan.supp":print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$folder/artifacts"
for name in "${names[@]}"; do
  mkdir -p "$folder/corpus/$name"
  echo "Fuzzing $name for ${seconds} s"
  "$folder/bin/fuzz_$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$folder/artifacts/$name-" \
    "$folder/corpus/$name" "$root/fuzz/corpus/$name" 2>"$folder/$name.log" ||
    { tail -n 60 "$folder/$name.log"; echo "fuzz_$name failed; see $folder/$name.log"; exit 1; }
  grep -E "^stat::number_of_executed_units|^Done" "$folder/$name.log" | tr '\n' ' '; echo
done
