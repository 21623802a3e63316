#!/usr/bin/env bash
# Start-up time of the windowed program: from launch until the first method explanation screen
# is shown (the main screen is up by then), measured over several launches on the offscreen
# platform. Prints the median in milliseconds.
#   bench/startup.sh PROGRAM [LAUNCHES]
set -euo pipefail
program=$1
launches=${2:-11}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

times=()
for _ in $(seq "$launches"); do
  : >"$log"
  start=$(date +%s%N)
  RH_WINDOW_LOG=$log QT_QPA_PLATFORM=offscreen "$program" >/dev/null 2>&1 &
  pid=$!
  until grep -q "shown MethodText1" "$log" 2>/dev/null; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "the program ended before its first screen" >&2
      exit 1
    fi
    sleep 0.002
  done
  end=$(date +%s%N)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  times+=($(((end - start) / 1000000)))
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print "start-up median: " a[int((NR+1)/2)] " ms over " NR " launches"}'
