#!/usr/bin/env bash
# Builds the fuzz targets with clang 19 in build/fuzz; replays each over its
# committed corpus (tests/fuzz/corpus/<target>), then fuzzes it for
# FUZZ_SECONDS (60) from a scratch copy of that corpus, so the committed one
# stays as it is. Any crash, undefined behaviour, leak, timeout or memory
# blow-up fails the run; the input that caused it is kept in
# build/fuzz/findings/<target>/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
seconds=${FUZZ_SECONDS:-60}
tree=$top/build/fuzz
source "$top/scripts/sanitizer_env.sh"

targets=()
for source in "$top"/tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" .cpp)
  targets+=("${name%_fuzz}")
done

echo "== fuzz build (build/fuzz, clang 19)"
CC=clang-19 CXX=clang++-19 cmake -S "$top" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKZ_FUZZ=ON >/dev/null
ninja -C "$tree" -j "$jobs" "${targets[@]/%/_fuzz}"

kz_sanitizer_options "$tree"
# An input slower than this, or a run that needs more memory, is a finding too.
limits=(-timeout=10 -rss_limit_mb=2048)

# Runs one target; on a finding, says where its input is kept.
fuzz_failed() {
  local target=$1 step=$2 log=$3 findings=$4
  tail -n 60 "$log"
  echo "fuzz: $target failed in the $step (whole log: $log)" >&2
  local input
  if [ "$step" = replay ]; then
    input=$(grep -a '^Running: ' "$log" | tail -n 1 | cut -d' ' -f2-)
    echo "fuzz: the input is $input, of the committed corpus" >&2
    return
  fi
  for input in "$findings"/*; do
    [ -e "$input" ] && echo "fuzz: the input is kept in $input; once the fault is fixed, add it to tests/fuzz/corpus/$target/" >&2
  done
}

failed=()
for target in "${targets[@]}"; do
  binary=$tree/tests/fuzz/${target}_fuzz
  corpus=$top/tests/fuzz/corpus/$target
  findings=$tree/findings/$target
  scratch=$tree/scratch/$target
  logs=$tree/logs
  rm -rf "$findings" "$scratch"
  mkdir -p "$findings" "$scratch" "$logs"
  inputs=("$corpus"/*)

  echo "== fuzz $target: replay of its ${#inputs[@]} corpus inputs"
  if ! "$binary" "${limits[@]}" -artifact_prefix="$findings/" "${inputs[@]}" >"$logs/$target-replay.log" 2>&1; then
    fuzz_failed "$target" replay "$logs/$target-replay.log" "$findings"
    failed+=("$target")
    continue
  fi

  echo "== fuzz $target: ${seconds} s"
  cp "${inputs[@]}" "$scratch/"
  if ! "$binary" "${limits[@]}" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/" \
       "$scratch" >"$logs/$target-fuzz.log" 2>&1; then
    fuzz_failed "$target" "fuzzing" "$logs/$target-fuzz.log" "$findings"
    failed+=("$target")
    continue
  fi
  grep -aE '^stat::(number_of_executed_units|peak_rss_mb)|DONE +cov' "$logs/$target-fuzz.log" | sed 's/^/   /'
done

if ((${#failed[@]})); then
  echo "fuzz: findings in ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: no finding"
