#!/usr/bin/env bash
# Configures and builds one build folder: build.sh FOLDER [extra cmake options...].
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
folder="$1"; shift
if [ ! -f "$folder/build.ninja" ]; then
  cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLFEN_WERROR=ON "$@" >/dev/null
fi
cmake --build "$folder" -- --quiet
