#!/usr/bin/env bash
# The Windows program as a user meets it, under Wine on an X display:
# it opens at (200, 100) with an outer size of 800 x 400 and both halves drawn,
# a stroke with the left button draws a curve, lights the wall and marks the
# title, and a WM_CLOSE (as from the close box) asks about the stroke: Escape
# keeps the program, don't save ends it with exit code 0.
#   program_test.sh WINE PREFIX LUMISTRA_EXE CLOSE_WINDOW_EXE OUTPUT_FOLDER
# Leaves the screenshots in OUTPUT_FOLDER.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
wine=$1 prefix=$2 program=$3 closer=$4 out=$5
mkdir -p "$out"
run() { "$here/wine_run.sh" "$wine" "$prefix" "$@"; }

run "$program" &
pid=$!
fail() {
  echo "FAIL: $*"
  kill "$pid" 2>/dev/null || true
  exit 1
}

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Lumistra$' | head -1) || fail "no window appeared"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT
echo "window at ($X, $Y), $WIDTH x $HEIGHT"
[ "$X,$Y,$WIDTH,$HEIGHT" = "200,100,800,400" ] || fail "not placed at (200, 100) with 800 x 400"

# Counts the pixels of a screen region (w h x y) that match an -fx condition.
count() {
  convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -fx "$6" -format '%[fx:round(mean*w*h)]' info:
}
# Regions well inside each half of the client area (frame, caption and menu
# bar take the window's edges).
left=(360 260 220 190)
right=(360 260 620 190)
green='g>0.5 && r<0.3 && b<0.3'
face='abs(r-g)<0.01 && abs(g-b)<0.01 && r>0.7'  # the platform's light grey dialog face

import -window root "$out/start.png"
[ "$(count "$out/start.png" "${left[@]}" 'r+g+b>0.1')" -gt 100 ] || fail "the diagram's grid is not drawn"
[ "$(count "$out/start.png" "${right[@]}" "$face")" -eq 0 ] || fail "the wall half is not drawn"
green_before=$(count "$out/start.png" "${left[@]}" "$green")
wall_before=$(convert "$out/start.png" -crop 360x260+620+190 -format '%[fx:mean]' info:)

# A stroke below the diagram's origin: press, a few moves, release.
xdotool mousemove 340 330 sleep 0.2 mousedown 1 sleep 0.1 \
  mousemove 360 380 sleep 0.1 mousemove 400 420 sleep 0.1 mousemove 440 400 sleep 0.1 mouseup 1
sleep 1
import -window root "$out/stroke.png"
convert "$out/stroke.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/window.png"
green_after=$(count "$out/stroke.png" "${left[@]}" "$green")
wall_after=$(convert "$out/stroke.png" -crop 360x260+620+190 -format '%[fx:mean]' info:)
echo "green pixels in the diagram: $green_before -> $green_after; wall brightness: $wall_before -> $wall_after"
[ "$green_after" -gt "$((green_before + 20))" ] || fail "the stroke drew no curve"
awk -v a="$wall_before" -v b="$wall_after" 'BEGIN { exit !(b > a + 0.001) }' || fail "the wall is not lit"

# The stroke marks the title. A close asks first: Escape keeps the program
# and its curve, and N (don't save) then closes it.
title=$(xdotool getwindowname "$window")
[ "$title" = '*Lumistra' ] || fail "the title does not show the change: $title"
ask_on_close() {
  run "$closer" '*Lumistra' || fail "could not post WM_CLOSE"
  timeout 20 xdotool search --sync --onlyvisible --name '^Lumistra$' >/dev/null || fail "closing asked nothing"
  sleep 0.5
}
ask_on_close
import -window root "$out/question.png"
xdotool key Escape
sleep 1
kill -0 "$pid" 2>/dev/null || fail "Escape in the question closed the program"
ask_on_close
xdotool key n
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
echo "closed with exit code 0"
