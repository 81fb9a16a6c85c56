#!/usr/bin/env bash
# Draws the runner's icons and bitmaps with ImageMagick into windows/resources/.
# The outputs are committed; run this again after changing a drawing.
set -euo pipefail
cd "$(dirname "$0")/../windows/resources"
font=DejaVu-Sans-Bold
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Program icon: a white question mark on a blue rounded tile, 16, 32 and 48 pixels.
for size in 16 32 48; do
  radius=$((size / 6))
  convert -size ${size}x${size} xc:none \
    -fill '#1f5fbf' -draw "roundrectangle 0,0 $((size-1)),$((size-1)) $radius,$radius" \
    -fill white -font "$font" -pointsize $((size * 3 / 4)) -gravity center -annotate +0+0 '?' \
    "$work/program-$size.png"
done
convert "$work/program-16.png" "$work/program-32.png" "$work/program-48.png" icons/program.ico

# The small icons are drawn once on a 32-unit grid, eight times over-sampled,
# and reduced to 32 and 16 pixels on a transparent background. The 16-pixel
# drawing gets heavier strokes ($w, in grid units) so that it stays legible.
#   icon NAME "MVG drawing using $w" ["simpler drawing for 16 pixels"]
icon() {
  local name=$1 drawing size w
  for size in 16 32; do
    drawing=$2
    if [ $size = 16 ]; then w=3; drawing=${3:-$2}; else w=2; fi
    convert -size 256x256 xc:none -draw "scale 8,8 ${drawing//\$w/$w}" \
      -filter Triangle -resize ${size}x${size} "PNG32:$work/$name-$size.png"
  done
  convert "$work/$name-16.png" "$work/$name-32.png" "icons/$name.ico"
}

# Clock of the time limit: a white dial, quarter marks and two hands; at 16
# pixels the dial and the hands alone.
icon clock "fill white stroke '#2b4a7a' stroke-width \$w circle 16,16 16,2.5
  stroke '#2b4a7a' stroke-linecap round stroke-width 1.5
  line 16,5.5 16,7.5 line 26.5,16 24.5,16 line 16,26.5 16,24.5 line 5.5,16 7.5,16
  stroke '#202020' stroke-width \$w line 16,16 16,8.5 line 16,16 22,19
  stroke none fill '#c02020' circle 16,16 16,14.6" \
  "fill white stroke '#2b4a7a' stroke-width 2.5 circle 16,16 16,2.5
  stroke '#202020' stroke-width 2.5 stroke-linecap square line 16,16 16,8 line 16,16 23,16"

# Loudspeaker shared by the two sound icons.
speaker="fill '#4a4a4a' stroke '#2a2a2a' stroke-width 1 stroke-linejoin round
  polygon 3,12 9,12 16,5 16,27 9,20 3,20"

# Sound on: the loudspeaker and two waves.
icon sound_on "$speaker
  fill none stroke '#1f5fbf' stroke-width \$w stroke-linecap round
  arc 13,10 25,22 -55,55 arc 12,5 30,27 -55,55"

# Sound off: the loudspeaker and a red cross where the waves were.
icon sound_off "$speaker
  fill none stroke '#d02020' stroke-width \$w stroke-linecap round
  line 20,11 29,21 line 29,11 20,21"

# Tries left on the hangman page: a red heart.
icon tries "fill '#d8283c' stroke '#8c1020' stroke-width 1.2 stroke-linejoin round
  path 'M16,28 C13,25.5 3,19 3,11 C3,6.5 6.5,3.5 10.5,3.5 C13,3.5 15,5 16,7.5
        C17,5 19,3.5 21.5,3.5 C25.5,3.5 29,6.5 29,11 C29,19 19,25.5 16,28 Z'
  fill '#ffffff80' stroke none ellipse 9.5,9.5 3,2 -20,200"

# Hint or information: a white i on a blue disc.
icon hint "fill '#1f5fbf' stroke '#123d80' stroke-width 1 circle 16,16 16,2
  stroke none fill white circle 16,9 16,6.6 roundrectangle 13.6,13 18.4,25 1.2,1.2"

# Special characters: a keyboard key carrying an omega.
icon palette "fill '#ececec' stroke '#6a6a6a' stroke-width 1.5 roundrectangle 2,3 29,29 5,5
  stroke none fill '#1f4f9f' font $font font-size 20 gravity center text 0,0 'Ω'"

# Wrong answer: a white cross on a red disc.
icon wrong "fill '#d02020' stroke '#8c1010' stroke-width 1 circle 16,16 16,2
  fill none stroke white stroke-width 3.5 stroke-linecap round line 11,11 21,21 line 21,11 11,21"

# Default logo (92 x 81): the tile with "Quiz" under it, on white.
convert -size 92x81 xc:white \
  -fill '#1f5fbf' -draw "roundrectangle 26,6 66,46 7,7" \
  -fill white -font "$font" -pointsize 30 -annotate +36+38 '?' \
  -fill '#1f5fbf' -font "$font" -pointsize 16 -gravity south -annotate +0+6 'Quiz' \
  -type TrueColor BMP3:bitmaps/logo.bmp

# Separator under the title band: a two-pixel line, dark above light.
convert -size 572x2 xc:'#808080' -fill white -draw 'line 0,1 571,1' -type TrueColor BMP3:bitmaps/separator.bmp

# Play and stop glyphs of the media buttons: black on the light grey that
# loading with the 3-D colour mapping turns into the button face. Palette
# bitmaps, since that mapping works on the colour table.
# Remapped onto a 16-colour table so that they are written as 4-bit colour
# bitmaps, not monochrome ones.
convert xc:black xc:'#808080' xc:'#c0c0c0' xc:'#dfdfdf' xc:white +append "$work/button-colours.gif"
convert -size 5x9 xc:'#c0c0c0' -fill black -draw 'polygon 0,0 4,4 0,8' \
  +dither -remap "$work/button-colours.gif" -type Palette BMP3:bitmaps/play.bmp
convert -size 8x8 xc:black +dither -remap "$work/button-colours.gif" -type Palette BMP3:bitmaps/stop.bmp
