#!/usr/bin/env bash
# Fails when a file in a source folder includes a header of a folder that comes later in the
# order stated on the first line of src/CMakeLists.txt, or when a folder is missing from it.
set -euo pipefail
src="$1"
read -r -a order <<<"$(head -n 1 "$src/CMakeLists.txt" | sed -e 's/^# Folder order: //' -e 's/;.*//' -e 's/,//g')"
declare -A rank
for i in "${!order[@]}"; do rank[${order[$i]}]=$i; done
status=0
for dir in "$src"/*/; do
  folder=$(basename "$dir")
  if [ -z "${rank[$folder]+set}" ]; then echo "src/$folder is not in the folder order"; status=1; continue; fi
  while IFS=: read -r file _ used; do
    if [ -n "${rank[$used]+set}" ] && [ "${rank[$used]}" -gt "${rank[$folder]}" ]; then
      echo "${file#"$src"/} includes a header of $used, which comes after $folder"; status=1
    fi
  done < <(grep -Ho '^#include "[a-z_]*/' "$dir"*.h "$dir"*.cpp 2>/dev/null | sed 's/#include "\(.*\)\/$/\1/' | sed 's/:/::/')
done
exit $status
