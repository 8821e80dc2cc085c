#!/usr/bin/env bash
# test_man_pages.sh VIEWER GENERATOR PAGES: the manual pages in the folder PAGES format
# without a warning, and each one's OPTIONS section lists exactly the options, with their
# arguments, that its program offers: the viewer's --help, the generator's usage line.
set -euo pipefail
viewer="$1"
generator="$2"
pages="$3"
fail() { echo "FAIL: $*" >&2; exit 1; }

# The options of a manual page: the tag lines of its OPTIONS section, one option a line as
# "--name ARGUMENT" (argument in capitals, none for a switch).
page_options() {
  sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$1" | sed -n '/^\.TP/{n;p}' | sed 's/\\-/-/g; s/"//g' |
    grep -oE -- '--?[a-z][a-z-]*( +[a-z]+)?' | sed -E 's/ +/ /; s/ ([a-z]+)$/ \U\1/' | sort
}

# The options --help lists, in the same form: "  -h, --help", "  --data <FOLDER>   Reads ...".
help_options() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$viewer" --help |
    grep -E '^  +-' | sed -E 's/^ +//; s/  .*//' | tr ',' '\n' | sed -E 's/^ +//; s/<([A-Z]+)>/\1/' | sort
}

# The options of the generator's usage line "usage: ... FOLDER [--scale N] [--seed S]".
usage_options() {
  { "$generator" 2>&1 || true; } | grep -oE -- '\[--[a-z-]+( [A-Z]+)?\]' | tr -d '[]' | sort
}

for page in "$pages"/*.1; do
  warnings="$(groff -ww -z -man "$page" 2>&1)"
  [ -z "$warnings" ] || fail "$(basename "$page") does not format cleanly: $warnings"
done

compare() {
  local what="$1" offered="$2" documented="$3"
  [ -n "$offered" ] || fail "no options read from $what"
  [ "$offered" = "$documented" ] ||
    fail "$what and its manual page differ (< offered, > documented):
$(diff <(echo "$offered") <(echo "$documented") | grep '^[<>]')"
}
compare "quillfen --help" "$(help_options)" "$(page_options "$pages/quillfen.1")"
compare "the usage of quillfen-sample-data" "$(usage_options)" "$(page_options "$pages/quillfen-sample-data.1")"
echo "manual pages format cleanly and list the options their programs offer"
