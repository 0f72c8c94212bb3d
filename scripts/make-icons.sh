#!/usr/bin/env bash
# Draws the program's icon (a GNSS antenna on a survey tripod) into res/TZR.ico: one 32 x 32
# image of 256 colours.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../res"
convert -size 32x32 xc:none \
    -fill '#1f5fa8' -draw 'roundrectangle 0,0 31,31 6,6' \
    -stroke white -strokewidth 2 -draw 'line 16,14 7,29' -draw 'line 16,14 25,29' -draw 'line 16,14 16,29' \
    -stroke none -fill '#ffd54a' -draw 'ellipse 16,9 10,4 0,360' \
    -fill white -draw 'rectangle 15,3 17,6' \
    -colors 256 -type Palette TZR.ico
