#!/usr/bin/env bash
# Runs a command on a private Xvfb display. The X server picks a free display
# number itself (-displayfd), so tests started side by side never race for one.
#   [XVFB_SCREEN=WxHxD] with_xvfb.sh COMMAND ARGS...   (1280x800x24 unless given)
set -euo pipefail
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x800x24}" -nolisten tcp 3>"$number_file" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null || true; rm -f "$number_file"' EXIT
for _ in $(seq 100); do
  [ -s "$number_file" ] && break
  sleep 0.1
done
number=$(head -n 1 "$number_file")
[ -n "$number" ] || { echo "Xvfb did not start"; exit 1; }
status=0
DISPLAY=":$number" "$@" || status=$?
exit "$status"
