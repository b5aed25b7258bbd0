#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each one for a while,
# starting from its seed corpus in fuzz/corpus/<target>/. New inputs go to a scratch
# folder, never into the repository; a crash leaves its input in build-fuzz/findings/.
# Usage: scripts/fuzz.sh [seconds per target, default 30] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(wave sheet map menu dialog typewriter settings)

cmake -S . -B build-fuzz -DQUILLORN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p build-fuzz/findings
status=0
printf '%-11s %10s %9s %6s  %s\n' target executions "exec/s" edges result
for t in "${targets[@]}"; do
  maxlen=4096
  [ "$t" = map ] && maxlen=18000  # room for a whole castle and a little more
  mkdir -p "$scratch/$t"
  log="$scratch/$t.log"
  # One process at a time: the machine is shared. rss_limit catches runaway allocations.
  if ./build-fuzz/fuzz/fuzz_"$t" -max_total_time="$seconds" -max_len="$maxlen" \
       -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
       -artifact_prefix=build-fuzz/findings/"$t"- "$scratch/$t" fuzz/corpus/"$t" >"$log" 2>&1; then
    result=ok
  else
    result="FAILED (see build-fuzz/findings/$t-*)"
    status=1
    grep -E 'ERROR|SUMMARY' "$log" | head -5 >&2 || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  edges=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | cut -d' ' -f2)
  printf '%-11s %10s %9s %6s  %s\n' "$t" "${runs:-0}" "${rate:-0}" "${edges:-?}" "$result"
done
exit $status
