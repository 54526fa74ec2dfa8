#!/usr/bin/env bash
# Runs the GDI reference program under Wine on a virtual X display.
# usage: run_under_wine.sh <wine64> <xvfb-run> <program.exe> <output folder> <wine prefix>
# The prefix is private to the build folder and made once (that takes a while).
set -euo pipefail
wine=$1 xvfb=$2 program=$3 out=$4 prefix=$5
rm -rf "$out"
mkdir -p "$out" "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
windows_out="Z:${out//\//\\}"
"$xvfb" -a "$wine" "$program" "$windows_out"
ls "$out"/*.bgra >/dev/null
