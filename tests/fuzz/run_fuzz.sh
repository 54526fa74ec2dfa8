#!/usr/bin/env bash
# Builds the reader's fuzz target with clang and runs it: first every kept
# crashing input once, then a fuzzing run of the given number of seconds
# (60 by default) starting from the real-file corpus and our own seeds.
# A new crashing input is left in the work folder; copy it into
# tests/fuzz/crashes/ with the fix so it stays a regression test.
#
# usage: run_fuzz.sh SOURCE_DIR WORK_DIR [SECONDS]
set -euo pipefail
src=$1
work=$2
seconds=${3:-60}
mkdir -p "$work/corpus" "$work/artifacts"

clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I "$src/src" \
  "$src/src/files/ies_reader.cpp" "$src/src/files/ies_text.cpp" "$src/src/files/ies_writer.cpp" \
  "$src/src/files/editor_curve.cpp" "$src/src/editor/lamp.cpp" "$src/src/files/eulumdat.cpp" \
  "$src/tests/fuzz/ies_reader_fuzz.cpp" -o "$work/ies_reader_fuzz"

fuzz=("$work/ies_reader_fuzz" -rss_limit_mb=2048 -timeout=10 -max_len=65536)

crashes=("$src"/tests/fuzz/crashes/*)
if [[ -e ${crashes[0]} ]]; then
  "${fuzz[@]}" "${crashes[@]}"
fi

seeds=("$src/tests/fuzz/seeds" "$src/tests/data/ies")
"${fuzz[@]}" -max_total_time="$seconds" -print_final_stats=1 \
  -dict="$src/tests/fuzz/ies.dict" -artifact_prefix="$work/artifacts/" \
  "$work/corpus" "${seeds[@]}" "$src/tests/fuzz/crashes"
