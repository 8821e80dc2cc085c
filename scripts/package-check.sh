#!/usr/bin/env bash
# Builds the Debian package in build (quillfen_VERSION_ARCH.deb) and checks it as a
# distribution would: lintian on the package, appstreamcli on the AppStream metadata and
# desktop-file-validate on the desktop entry it installs. Any error or warning fails the run;
# lintian's informational notes are shown and let pass.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"

(cd "$root/build" && rm -f quillfen_*.deb && cpack -G DEB >/dev/null)
package="$(ls "$root"/build/quillfen_*.deb)"
echo "Checking $(basename "$package")"

# Root is warned against only because lintian unpacks untrusted packages; this one is ours.
lintian --fail-on error,warning --display-info "$package" 2> >(grep -v "running with root privileges" >&2)

unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
for metainfo in "$unpacked"/usr/share/metainfo/*.xml; do
  appstreamcli validate --no-net --explain "$metainfo"
done
# Its hints are shown and let pass: the entry is meant to stand in both the Education and the
# Science menu.
for entry in "$unpacked"/usr/share/applications/*.desktop; do
  report="$(desktop-file-validate "$entry" 2>&1)" || true
  [ -z "$report" ] || echo "$report"
  ! grep -qE ': (error|warning): ' <<<"$report" || { echo "$(basename "$entry") is not valid"; exit 1; }
done
echo "$(basename "$package"): lintian, appstreamcli and desktop-file-validate found no error or warning"
