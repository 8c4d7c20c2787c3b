#!/bin/sh
# Draws the toolbar's 15 pictures (20 x 20, one strip, magenta as the transparent colour) and
# the program icon (a closed book with a page marker) with ImageMagick.
# Usage: make_images.sh <output folder>
set -e
out="$1"
mkdir -p "$out"
cd "$out"
bg='xc:#FF00FF'
draw() { convert -size 20x20 "$bg" -stroke black -strokewidth 1 "$@" +antialias "tb_$n.bmp"; n=$((n + 1)); }
n=1
# 1 new: a blank page with a folded corner
draw -fill white -draw 'polygon 4,1 12,1 16,5 16,18 4,18' -fill '#C0C0C0' -draw 'polygon 12,1 12,5 16,5'
# 2 open: an open folder
draw -fill '#F0C040' -draw 'polygon 1,6 7,6 9,8 18,8 18,17 1,17' -fill '#FFE080' -draw 'polygon 4,10 19,10 16,17 1,17'
# 3 print: a printer with paper
draw -fill white -draw 'rectangle 5,2 14,8' -fill '#A0A0A0' -draw 'rectangle 2,8 17,14' -fill white -draw 'rectangle 5,12 14,18'
# 4 back: one arrow left
draw -fill '#2060C0' -draw 'polygon 14,3 14,17 5,10'
# 5 forward: one arrow right
draw -fill '#2060C0' -draw 'polygon 6,3 6,17 15,10'
# 6 back tab: two arrows left
draw -fill '#20A040' -draw 'polygon 10,3 10,17 2,10' -draw 'polygon 18,3 18,17 10,10'
# 7 forward tab: two arrows right
draw -fill '#20A040' -draw 'polygon 2,3 2,17 10,10' -draw 'polygon 10,3 10,17 18,10'
# 8 first page: bar and arrow left
draw -fill '#C04020' -draw 'rectangle 3,3 5,17' -draw 'polygon 16,3 16,17 7,10'
# 9 last page: arrow right and bar
draw -fill '#C04020' -draw 'polygon 4,3 4,17 13,10' -draw 'rectangle 15,3 17,17'
# 10 auto view: a green disc with a play mark
draw -fill '#30B030' -draw 'circle 10,10 10,1' -fill white -draw 'polygon 7,5 7,15 15,10'
# 11 stop: a red square
draw -fill '#D02020' -draw 'rectangle 4,4 15,15'
# 12 insert bookmark: a red ribbon with a plus
draw -fill '#E03030' -draw 'polygon 5,1 12,1 12,18 8,14 5,18' -stroke '#006000' -strokewidth 2 -draw 'line 15,8 15,16' -draw 'line 11,12 19,12'
# 13 edit bookmarks: a red ribbon and a pencil
draw -fill '#E03030' -draw 'polygon 3,1 10,1 10,18 6,14 3,18' -fill '#F0D060' -draw 'polygon 12,16 17,5 19,6 14,17 12,18'
# 14 help: a blue disc with a question mark
draw -fill '#3070D0' -draw 'circle 10,10 10,1' -stroke none -fill white -pointsize 15 -font DejaVu-Sans-Bold -gravity center -annotate +0+1 '?'
# 15 book: the program's own picture
draw -fill '#2050A0' -draw 'rectangle 3,2 16,18' -fill white -draw 'rectangle 5,4 14,16' -fill '#E03030' -draw 'polygon 11,2 14,2 14,9 12,7 11,9'
convert tb_1.bmp tb_2.bmp tb_3.bmp tb_4.bmp tb_5.bmp tb_6.bmp tb_7.bmp tb_8.bmp tb_9.bmp tb_10.bmp \
  tb_11.bmp tb_12.bmp tb_13.bmp tb_14.bmp tb_15.bmp +append -type TrueColor BMP3:toolbar.bmp
for f in tb_*.bmp; do convert "$f" -type TrueColor "BMP3:$f"; done
# The version dialog's picture: the book at 32 pixels on the dialog's grey.
convert tb_15.bmp -fill '#F0F0F0' -opaque '#FF00FF' -scale 160% -type TrueColor BMP3:PaginaV1.bmp
# The icon: the book picture at 16, 32 and 48 pixels.
convert tb_15.bmp -fill '#FF00FF' -opaque '#FF00FF' -transparent '#FF00FF' -define icon:auto-resize=48,32,16 PaginaV1.ico
