#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X display, in a Wine prefix
# private to the build folder (made by the first run, which takes a while).
# usage: run_under_wine.sh <wine64> <xvfb-run> <wine prefix> <program.exe> [arguments...]
# Arguments that are absolute Unix paths are passed as Windows paths (Z:\...).
set -euo pipefail
wine=$1 xvfb=$2 prefix=$3
shift 3
mkdir -p "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
args=()
for a in "$@"; do
  if [[ $a == /* && $a != *.exe ]]; then args+=("Z:${a//\//\\}"); else args+=("$a"); fi
done
exec "$xvfb" -a "$wine" "${args[@]}"
