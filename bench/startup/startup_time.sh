#!/usr/bin/env bash
# Start-up of the Linux program to its first shown window, against a bare Qt
# window with a menu, alternating the two in the same run on one X server.
# The time is from the start of the process until the window is mapped and
# visible (polled with xdotool every few milliseconds), which Qt follows
# with its first paint.
#   xvfb-run -s "-screen 0 1280x1024x24" bench/startup/startup_time.sh LUMISTRA BARE [RUNS]
set -euo pipefail
lumistra=$1 bare=$2 runs=${3:-15}

# Milliseconds from starting "$@" until a visible window titled $title shows.
time_to_window() {
  local title=$1
  shift
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  local pid=$!
  until xdotool search --onlyvisible --name "^$title\$" >/dev/null; do sleep 0.002; done
  end=$(date +%s%N)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

ours=() theirs=()
for ((i = 0; i < runs; ++i)); do
  ours+=("$(time_to_window '.*Lumistra.*' "$lumistra")")
  theirs+=("$(time_to_window 'Bare Qt window' "$bare")")
done
ours_median=$(printf '%s\n' "${ours[@]}" | median)
bare_median=$(printf '%s\n' "${theirs[@]}" | median)
echo "lumistra: ${ours[*]} ms, median $ours_median"
echo "bare Qt:  ${theirs[*]} ms, median $bare_median"
awk -v a="$ours_median" -v b="$bare_median" 'BEGIN { printf "ratio %.3f\n", a / b }'
