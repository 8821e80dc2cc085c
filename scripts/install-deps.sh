#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quillfen need, plus any
# extra package names given as arguments. Quiet, and does nothing when all are installed.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-qpa-plugins
  libgdal-dev gdal-bin
  libsqlite3-dev
  fonts-liberation2
  clang libclang-rt-14-dev clang-format
  desktop-file-utils file dpkg-dev
  groff-base lintian appstream
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
