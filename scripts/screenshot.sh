#!/usr/bin/env bash
# Remakes docs/screenshot.png: the viewer on the demonstration data, drawn under Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" xvfb xauth
"$root/scripts/build.sh" "$root/build"
cmake --build "$root/build" --target quillfen-screenshot -- --quiet
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/bin/quillfen-screenshot" "$root/docs/screenshot.png"
