#!/usr/bin/env bash
# Draws the program icon (ondrel.ico, seven sizes) and the About window's picture
# (about.bmp, 600 x 132, 24-bit) with ImageMagick. Run it from anywhere; it writes next to
# itself. The output is byte-for-byte the same on every run, so the committed images can be
# checked against it (tools/check_images).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
im=/usr/bin/convert
# No dates or software names inside the files, so that reruns give the same bytes.
strip=(-strip -define png:exclude-chunks=date,time,tEXt,zTXt,iTXt)

# One icon image, drawn eight times larger and scaled down for smooth edges.
draw_icon() {
    local size=$1 big=$(($1 * 8))
    local margin radius
    margin=$(awk -v s="$big" 'BEGIN { printf "%d", s * 0.04 }')
    radius=$(awk -v s="$big" 'BEGIN { printf "%d", s * 0.22 }')
    local far=$((big - margin - 1))
    # Play triangle, nudged right of centre so that it looks centred.
    local tri
    tri=$(awk -v s="$big" 'BEGIN { printf "%d,%d %d,%d %d,%d", s*0.38, s*0.27, s*0.38, s*0.73, s*0.75, s*0.50 }')
    local stroke
    stroke=$(awk -v s="$big" 'BEGIN { printf "%d", s * 0.06 }')
    "$im" -size "${big}x${big}" xc:none \
        \( -size "${big}x${big}" gradient:'#5AA6F7-#1E66D0' \) \
        \( -size "${big}x${big}" xc:none -fill white \
           -draw "roundrectangle $margin,$margin $far,$far $radius,$radius" \) \
        -compose over -delete 0 -compose copyopacity -composite \
        \( -size "${big}x${big}" xc:none -fill 'rgba(255,255,255,0.10)' \
           -draw "roundrectangle $margin,$margin $far,$((big / 2)) $radius,$radius" \) \
        -compose over -composite \
        -fill white -stroke white -strokewidth "$stroke" -draw "stroke-linejoin round polygon $tri" \
        -filter Lanczos -resize "${size}x${size}" \
        "${strip[@]}" "PNG32:$work/icon-$size.png"
}

sizes=(16 24 32 48 64 128 256)
for s in "${sizes[@]}"; do
    draw_icon "$s"
done
"$im" $(for s in "${sizes[@]}"; do printf '%s ' "$work/icon-$s.png"; done) "${strip[@]}" "$out/ondrel.ico"

# The About window's promotional picture: a companion product, in the program's dark style.
# It carries no words besides the product's name, so it suits both languages.
"$im" -size 600x132 gradient:'#2B2B30-#1B1B1E' \
    \( -size 500x500 radial-gradient:'rgba(59,142,240,0.30)-rgba(59,142,240,0)' -geometry -174-184 \) \
    -compose over -composite \
    \( -size 96x96 gradient:'#3DD6B0-#2A7BE4' \
       \( -size 96x96 xc:none -fill white -draw 'roundrectangle 0,0 95,95 22,22' \) \
       -compose copyopacity -composite \
       -fill none -stroke white -strokewidth 5 -draw 'roundrectangle 20,26 76,66 6,6' \
       -fill white -stroke none -draw 'rectangle 40,70 56,74' -draw 'rectangle 32,74 64,78' \
       -fill '#FF5A5F' -stroke white -strokewidth 3 -draw 'circle 62,40 62,49' \) \
    -geometry +28+18 -compose over -composite \
    -font DejaVu-Sans-Bold -pointsize 44 -fill '#EAEAEA' -stroke none \
    -annotate +146+70 'Tessel' \
    -fill '#3B8EF0' -draw 'roundrectangle 148,86 196,92 3,3' \
    -fill '#6E6E75' -draw 'roundrectangle 204,86 236,92 3,3' \
    -fill '#4A4A50' -draw 'roundrectangle 244,86 268,92 3,3' \
    \( -size 230x84 xc:none -fill '#303036' -draw 'roundrectangle 0,0 229,83 10,10' \
       -fill '#3B8EF0' -draw 'rectangle 14,56 120,60' -fill '#55555C' -draw 'rectangle 120,56 214,60' \
       -fill '#EAEAEA' -draw 'circle 120,58 120,63' \
       -fill '#9A9A9E' -draw 'rectangle 14,16 80,22' -fill '#6E6E75' -draw 'rectangle 14,30 150,34' \
       -fill '#FF5A5F' -draw 'circle 206,20 206,26' \) \
    -geometry +350+24 -compose over -composite \
    -alpha off -type TrueColor "${strip[@]}" "BMP3:$out/about.bmp"
