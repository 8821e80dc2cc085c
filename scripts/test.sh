#!/usr/bin/env bash
# Installs what is missing, checks the C++ sources against .clang-format, builds and runs every
# test, and makes and checks the Debian package; then builds and runs the tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer in a second build folder; then builds the
# fuzz targets with clang and runs each for a minute.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
"$root/scripts/format-check.sh"

"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure
"$root/scripts/package-check.sh"

"$root/scripts/build.sh" "$root/build-asan" -DQUILLFEN_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$root/tests/lsan.supp":print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure

"$root/scripts/fuzz.sh" 60
