#!/usr/bin/env bash
# check_folder_order.sh SRC FOLDER_LINKS: checks the source folders against the build's own
# list of them (FOLDER_LINKS, written by src/CMakeLists.txt: "folder: linked targets...", one
# line per folder in the folders' order). Fails when a folder of SRC has no library in the
# build, when a folder's library links the library of a folder that does not come before it,
# or when a file includes a header of a folder that its folder's library does not reach
# through its links.
set -euo pipefail
src="$1"
links="$2"
declare -A rank reach
order=()
status=0
while IFS=: read -r folder linked; do
  rank[$folder]=${#order[@]}
  order+=("$folder")
  reached=" "
  for target in $linked; do
    case "$target" in quillfen_*) ;; *) continue ;; esac
    used=${target#quillfen_}
    if [ -z "${rank[$used]+set}" ] || [ "${rank[$used]}" -ge "${rank[$folder]}" ]; then
      echo "quillfen_$folder links $target, which does not come before $folder"
      status=1
      continue
    fi
    reached+="$used ${reach[$used]} "
  done
  reach[$folder]=$reached
done <"$links"

for dir in "$src"/*/; do
  folder=$(basename "$dir")
  if [ -z "${rank[$folder]+set}" ]; then echo "src/$folder has no library in the build"; status=1; continue; fi
  while IFS=: read -r file used; do
    if [ "$used" != "$folder" ] && [ -n "${rank[$used]+set}" ] && [[ "${reach[$folder]}" != *" $used "* ]]; then
      echo "${file#"$src"/} includes a header of $used, which quillfen_$folder does not link"
      status=1
    fi
  done < <(grep -Ho '^#include "[a-z_]*/' "$dir"*.h "$dir"*.cpp 2>/dev/null | sed 's/:#include "\(.*\)\/$/:\1/')
done
exit $status
