#!/usr/bin/env bash
# Draws the runner's icons and bitmaps with ImageMagick into windows/res/.
# The outputs are committed; run this again after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")/../windows/res"
font=DejaVu-Sans-Bold

# Program icon: a white question mark on a blue rounded tile, 16, 32 and 48 pixels.
for size in 16 32 48; do
  radius=$((size / 6))
  convert -size ${size}x${size} xc:none \
    -fill '#1f5fbf' -draw "roundrectangle 0,0 $((size-1)),$((size-1)) $radius,$radius" \
    -fill white -font "$font" -pointsize $((size * 3 / 4)) -gravity center -annotate +0+0 '?' \
    "/tmp/program-$size.png"
done
convert /tmp/program-16.png /tmp/program-32.png /tmp/program-48.png icons/program.ico

# Default logo (92 x 81): the tile with "Quiz" under it, on white.
convert -size 92x81 xc:white \
  -fill '#1f5fbf' -draw "roundrectangle 26,6 66,46 7,7" \
  -fill white -font "$font" -pointsize 30 -annotate +36+38 '?' \
  -fill '#1f5fbf' -font "$font" -pointsize 16 -gravity south -annotate +0+6 'Quiz' \
  -type TrueColor BMP3:bitmaps/logo.bmp

# Separator under the title band: a two-pixel line, dark above light.
convert -size 572x2 xc:'#808080' -fill white -draw 'line 0,1 571,1' -type TrueColor BMP3:bitmaps/separator.bmp
