#!/usr/bin/env bash
# Checks that every #include of the product's code runs downwards through its
# layers: a folder may include its own headers and those of the folders listed
# before it, never those of a folder listed after it, and a front end (the
# Windows runner, the terminal player, the web player, the tools) never
# includes another one.
# Tests are not checked: they may reach any layer they test.
#
# Usage: scripts/check_layers.sh [tree]   (default: this repository)
set -euo pipefail
top=$(cd "${1:-$(dirname "$0")/..}" && pwd)

# The layers, from the bottom up. A line names one group (the portable core,
# or one front end) and its folders in their order.
layers=${KZ_LAYERS:-"
core:     core/common core/res core/quiz core/media core/exam core/results core/questions core/engine
windows:  windows/win32 windows/resources windows/display windows/system windows/host windows/dialogs windows/pages windows/frame windows/app
terminal: terminal
web:      web
tools:    tools/common tools/pe_fixup tools/packer tools/results_report
"}

declare -A group_of rank_of
rank=0
while read -r group folders; do
  [ -n "$group" ] || continue
  group=${group%:}
  for folder in $folders; do
    rank=$((rank + 1))
    group_of[$folder]=$group
    rank_of[$folder]=$rank
  done
done <<<"$layers"

# The layer folder a file lies in: the longest listed folder that holds it.
folder_of() {
  local dir=$1 best=""
  for folder in "${!rank_of[@]}"; do
    if [[ $dir == "$folder" || $dir == "$folder"/* ]] && ((${#folder} > ${#best})); then best=$folder; fi
  done
  echo "$best"
}

# Where a quoted include is found: beside the file, then in each tree's root.
resolve() {
  local from_dir=$1 name=$2 root
  for root in "$from_dir" core windows terminal tools/common tools/packer tools/results_report tools; do
    if [ -f "$top/$root/$name" ]; then
      local path="$root/$name"
      echo "${path%/*}"
      return
    fi
  done
}

status=0
cd "$top"
while IFS= read -r file; do
  dir=${file%/*}
  own=$(folder_of "$dir")
  if [ -z "$own" ]; then
    echo "layers: $file lies in a folder of no layer ($dir)"
    status=1
    continue
  fi
  while IFS= read -r name; do
    target_dir=$(resolve "$dir" "$name")
    [ -n "$target_dir" ] || continue  # a system or generated header
    target=$(folder_of "$target_dir")
    if [ -z "$target" ]; then
      echo "layers: $file includes $name, from a folder of no layer ($target_dir)"
      status=1
    elif [[ ${group_of[$target]} != core && ${group_of[$target]} != "${group_of[$own]}" ]]; then
      echo "layers: $file includes $name of another front end ($target)"
      status=1
    elif ((rank_of[$target] > rank_of[$own])); then
      echo "layers: $file ($own) includes $name of a higher layer ($target)"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files 'core/*' 'windows/*' 'terminal/*' 'web/*' 'tools/*' | grep -E '\.(h|cpp|rc)$')

if ((status == 0)); then echo "layers: every include runs downwards"; fi
exit $status
