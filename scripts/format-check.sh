#!/usr/bin/env bash
# Checks that every C++ source and header in the repository is laid out as .clang-format says.
# With --fix, formats them in place instead. Lists the files that differ and fails when any does.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
mapfile -t files < <(find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
clang-format --dry-run -Werror "${files[@]}"
