#!/usr/bin/env bash
# The Windows console program gives the same `info --json` lines (and the same
# messages on standard error, and exit status) as the Linux one for every file
# of the corpus, byte for byte.
#   wine_info_test.sh WINE PREFIX LINUX_CLI WINDOWS_CLI CORPUS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
wine=$1 prefix=$2 linux=$3 windows=$4 corpus=$5
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Relative names, so both programs print the same "file" for each.
cd "$corpus"
files=(*.ies)
linux_status=0 windows_status=0
"$linux" info --json "${files[@]}" >"$out/linux.out" 2>"$out/linux.err" || linux_status=$?
"$here/../win32/wine_run.sh" "$wine" "$prefix" "$windows" info --json "${files[@]}" \
  >"$out/windows.out" 2>"$out/windows.err" || windows_status=$?
echo "${#files[@]} files; exit status: Linux $linux_status, Windows $windows_status"
[ "$(wc -l <"$out/linux.out")" -eq "${#files[@]}" ] || { echo "FAIL: not one line per file"; exit 1; }
[ "$linux_status" = "$windows_status" ] || { echo "FAIL: exit status differs"; exit 1; }
diff "$out/linux.out" "$out/windows.out" || { echo "FAIL: the JSON lines differ"; exit 1; }
diff "$out/linux.err" "$out/windows.err" || { echo "FAIL: the messages differ"; exit 1; }
echo "same output"
