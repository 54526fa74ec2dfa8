#!/usr/bin/env bash
# Draws the application icon with ImageMagick: a green intensity curve on
# black, as the polar diagram shows one, with two grey rings about the lamp.
# Writes lumistra-256.png (the master) and the 16, 32 and 48 pixel pictures
# (8-bit RGBA, which the Windows icon builder reads),
# each drawn at its own size so the small ones stay crisp.
# The pictures are committed; run this only to change the artwork.
set -euo pipefail
cd "$(dirname "$0")"

# The curve in a 256-unit box: a lamp at (128, 60) hanging from the top, a
# broad lobe downward with two shoulders (a "batwing"), mirrored left-right.
curve_points() {  # $1: pixels per 256 units
  awk -v k="$1" 'BEGIN {
    pi = atan2(0, -1)
    for (i = -90; i <= 90; i += 3) {
      t = i * pi / 180
      c = cos(t); s = sin(2 * t)
      r = 150 * c * (0.55 + 0.6 * s * s)
      printf "%.2f,%.2f ", (128 + r * sin(t)) * k / 256, (60 + r * c) * k / 256
    }
  }'
}

draw() {  # $1: size in pixels, $2: curve width, $3: ring width (0: no rings)
  local size=$1 k
  k=$size
  local args=(-size "${size}x${size}" xc:black -fill none)
  if [ "$3" != 0 ]; then
    local cx cy r1 r2
    cx=$(awk -v k="$k" 'BEGIN{print 128*k/256}')
    cy=$(awk -v k="$k" 'BEGIN{print 60*k/256}')
    r1=$(awk -v k="$k" 'BEGIN{print 60*k/256}')
    r2=$(awk -v k="$k" 'BEGIN{print 130*k/256}')
    args+=(-stroke '#5a5a5a' -strokewidth "$3"
           -draw "circle $cx,$cy $cx,$(awk -v a="$cy" -v b="$r1" 'BEGIN{print a+b}')"
           -draw "circle $cx,$cy $cx,$(awk -v a="$cy" -v b="$r2" 'BEGIN{print a+b}')")
  fi
  args+=(-stroke '#20ff40' -strokewidth "$2" -draw "polyline $(curve_points "$k")")
  convert "${args[@]}" -depth 8 "PNG32:lumistra-$size.png"  # 8-bit RGBA
}

draw 256 10 3
draw 48 2.4 1
draw 32 1.8 1
draw 16 1.3 0
