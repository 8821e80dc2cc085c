#!/usr/bin/env bash
# test_install.sh BUILD: installs the build into a scratch DESTDIR as a package would (prefix
# /usr), then checks from there that the installed viewer finds the installed demonstration
# data by itself, that the data passes its own check, that the desktop entry is valid, that
# the icon is there at every size, that the manual pages and the changelog are there
# compressed, and that the AppStream metadata is valid and launches the installed entry.
set -euo pipefail
build="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
bin="$stage/usr/bin"
data="$stage/usr/share/quillfen/data"
[ -x "$bin/quillfen" ] || fail "the viewer is not installed in bin"
[ -x "$bin/quillfen-sample-data" ] || fail "the data generator is not installed in bin"
[ ! -e "$data/.generated" ] || fail "the build's stamp file was installed with the data"

# Without a display and without --data, the installed viewer names the installed data as its
# folder, and that folder holds everything the viewer needs.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
"${nodisplay[@]}" "$bin/quillfen" --help | tr -s ' \n' ' ' | grep -qF "read from $data:" \
  || fail "the installed viewer does not default to $data"
"${nodisplay[@]}" "$bin/quillfen" --check "$data" >/dev/null || fail "the installed data does not pass --check"

# With a display it starts on that data and keeps running until closed.
status=0
QT_QPA_PLATFORM=offscreen timeout 10 "$bin/quillfen" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the installed viewer did not keep running (status $status)"

share="$stage/usr/share"
desktop_entry="$share/applications/org.example.quillfen.desktop"
desktop-file-validate "$desktop_entry" || fail "the desktop entry is not valid"
for size in 16 22 24 32 48 64 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/quillfen.png"
  [ -s "$icon" ] || fail "no ${size}x${size} icon"
  file "$icon" | grep -q "PNG image data, $size x $size" || fail "$icon is not a $size pixel PNG"
done
for program in quillfen quillfen-sample-data; do
  gzip -t "$share/man/man1/$program.1.gz" || fail "no compressed manual page for $program"
done

# Software centres find the program by its metadata and start it by the desktop entry that
# the metadata names, which must be the installed one.
metainfo="$share/metainfo/org.example.quillfen.metainfo.xml"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "the AppStream metadata is not valid"
grep -qF "<launchable type=\"desktop-id\">$(basename "$desktop_entry")</launchable>" "$metainfo" ||
  fail "the AppStream metadata does not launch $(basename "$desktop_entry")"
[ -s "$share/doc/quillfen/copyright" ] || fail "no copyright file"
gzip -t "$share/doc/quillfen/changelog.gz" || fail "no compressed changelog"
echo "installed viewer, data, desktop entry, icons, manual pages and metadata are in place"
