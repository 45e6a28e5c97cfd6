#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, with clang) into build/fuzz and runs each
# for some seconds from its seeds; fails on any crash or broken property.
#   tools/fuzz.sh [seconds-per-target] [target...]
# The README's test command runs it briefly; `tools/fuzz.sh 240` is the long
# run, about half an hour for the eight targets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-5}
[ $# -gt 0 ] && shift
dir="$root/build/fuzz"
if [ ! -f "$dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$dir" -G Ninja >/dev/null
fi
cmake --build "$dir" >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_load fuzz_take_field fuzz_fold fuzz_character_wise fuzz_find_pad fuzz_sort
    fuzz_search fuzz_editing)
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
for target in "${targets[@]}"; do
  # New inputs go to the build tree; the seeds in the repository stay as they are.
  work="$dir/corpus/$target"
  mkdir -p "$work" "$dir/artifacts"
  log="$dir/$target.log"
  if ! "$dir/$target" "$work" "$root/fuzz/corpus/$target" -max_total_time="$seconds" \
      -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$dir/artifacts/$target-" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "fuzz: $target failed; the input is in $dir/artifacts/ (log: $log)" >&2
    exit 1
  fi
  done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n1 || true)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  cov=$(sed -n 's/.* cov: \([0-9]*\) ft: \([0-9]*\).*/cov \1 ft \2/p' <<<"$done_line")
  echo "fuzz: $target ok: ${runs:-?} runs in ${seconds} s (${rate:-?}/s), ${cov:-no coverage line}"
done
