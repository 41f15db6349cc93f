#!/usr/bin/env bash
# Draws the artwork of both language modules with ImageMagick: one accent colour
# (orange 228,109,17), greys, white. Output: lang/TWKLang/art/ and
# lang/TWKDefsUpdaterLang/art/ (committed; run this again after changing it).
# Pure white (255,255,255) is the transparent colour of button faces: glyphs on buttons
# are drawn in GLYPH, which is not quite white.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
main="$here/../TWKLang/art"
upd="$here/../TWKDefsUpdaterLang/art"
mkdir -p "$main" "$upd"

ACCENT='rgb(228,109,17)'
ACCENT_LIGHT='rgb(255,149,1)'
ACCENT_DARK='rgb(190,84,10)'
PANEL='rgb(242,243,247)'
GREY='rgb(112,116,124)'
GREY_LIGHT='rgb(160,164,172)'
DARK='rgb(46,50,58)'
FONT='DejaVu-Sans-Bold'
GLYPH='rgb(250,250,250)'

# out w h from to: a vertical gradient picture (JPEG).
gradient() { convert -size "$2x$3" "gradient:$4-$5" -strip -quality 92 "$1"; }
# out w h colour hoverColour: a rounded face on white (BMP, 24-bit).
face() {
  convert -size "$2x$3" xc:white -fill "$4" -stroke "$5" -strokewidth 1 \
    -draw "roundrectangle 1,1 $(($2 - 2)),$(($3 - 2)) 8,8" -type TrueColor "BMP3:$1"
}
# out w h top bottom: a flat face with a top highlight (JPEG; no transparent corners).
panelface() {
  convert -size "$2x$3" "gradient:$4-$5" -fill 'rgba(255,255,255,0.18)' \
    -draw "rectangle 0,0 $2,$(($3 / 3))" -strip -quality 92 "$1"
}
close_button() {  # out size background
  convert -size "$2x$2" "xc:$3" -stroke "$GLYPH" -strokewidth 2 \
    -draw "line 3,3 $(($2 - 4)),$(($2 - 4))" -draw "line $(($2 - 4)),3 3,$(($2 - 4))" -type TrueColor "BMP3:$1"
}
minimise_button() {  # out size background
  convert -size "$2x$2" "xc:$3" -stroke "$GLYPH" -strokewidth 2 \
    -draw "line 5,$(($2 - 7)) $(($2 - 6)),$(($2 - 7))" -type TrueColor "BMP3:$1"
}
error_icon() {  # out w h
  convert -size "$2x$3" xc:white -fill 'rgb(200,32,32)' -draw "circle $(($2 / 2)),$(($3 / 2)) $(($2 / 2)),2" \
    -stroke white -strokewidth 4 -draw "line $(($2 / 3)),$(($3 / 3)) $((2 * $2 / 3)),$((2 * $3 / 3))" \
    -draw "line $((2 * $2 / 3)),$(($3 / 3)) $(($2 / 3)),$((2 * $3 / 3))" -type TrueColor "BMP3:$1"
}
question_icon() {  # out w h
  convert -size "$2x$3" xc:white -fill 'rgb(40,96,180)' -draw "circle $(($2 / 2)),$(($3 / 2)) $(($2 / 2)),2" \
    -fill white -font "$FONT" -pointsize $(($3 * 2 / 3)) -gravity center -annotate +0+1 '?' -type TrueColor "BMP3:$1"
}
warning_icon() {  # out w h
  convert -size "$2x$3" xc:white -fill "$ACCENT_LIGHT" -stroke "$ACCENT_DARK" \
    -draw "polygon $(($2 / 2)),2 $(($2 - 3)),$(($3 - 3)) 2,$(($3 - 3))" -stroke none \
    -fill "$DARK" -font "$FONT" -pointsize $(($3 * 3 / 5)) -gravity center -annotate +0+4 '!' -type TrueColor "BMP3:$1"
}
# out label colour: one 16 x 16 strip cell drawn on its own (used by strip()).
cell() { convert -size 16x16 xc:white -fill "$3" -stroke "$DARK" -strokewidth 1 -draw "$2" "PNG24:$1"; }
strip() {  # out cells...
  local out=$1; shift
  convert "$@" +append -type TrueColor "BMP3:$out"
}

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# --- Main program (TWKLang.dll) -------------------------------------------------
# Skinned message box ("MessageBox" layout of Tarnwick.exe).
gradient "$main/321.jpg" 349 121 white "$PANEL"                 # body
for n in 322 329 331; do                                         # title corner variants
  convert -size 23x21 "xc:$ACCENT" -fill white -draw 'roundrectangle 6,5 16,15 2,2' -strip -quality 92 "$main/$n.jpg"
done
gradient "$main/328.jpg" 23 21 "$PANEL" white                     # left edge pieces
gradient "$main/330.jpg" 23 21 "$PANEL" white
close_button "$main/325.bmp" 14 "$ACCENT"
face "$main/323.bmp" 84 33 "$ACCENT" "$ACCENT_DARK"               # OK
face "$main/335.bmp" 84 33 "$ACCENT" "$ACCENT_DARK"               # Yes
face "$main/336.bmp" 84 33 "$GREY" "$DARK"                        # Cancel
face "$main/334.bmp" 84 33 "$GREY" "$DARK"                        # No
error_icon "$main/155.bmp" 32 32        # icon code 16, control 1019
question_icon "$main/333.bmp" 32 33     # icon code 32, control 1009
warning_icon "$main/332.bmp" 45 43      # icon code 48, control 1020

# Tree image strip 188: Severe, High, Low threat, set back, ignored, Severe, High, Low trace.
cell "$tmp/t0.png" 'circle 8,8 8,2' 'rgb(200,32,32)'
cell "$tmp/t1.png" 'circle 8,8 8,2' "$ACCENT"
cell "$tmp/t2.png" 'circle 8,8 8,2' 'rgb(240,200,40)'
cell "$tmp/t3.png" 'polygon 3,8 9,3 9,6 13,6 13,10 9,10 9,13' 'rgb(40,150,60)'
cell "$tmp/t4.png" 'circle 8,8 8,3' "$GREY_LIGHT"
cell "$tmp/t5.png" 'rectangle 4,4 11,11' 'rgb(200,32,32)'
cell "$tmp/t6.png" 'rectangle 4,4 11,11' "$ACCENT"
cell "$tmp/t7.png" 'rectangle 4,4 11,11' 'rgb(240,200,40)'
strip "$main/188.bmp" "$tmp"/t{0..7}.png
# Summary strip 160: threats found, clean, attention, information.
cell "$tmp/s0.png" 'circle 8,8 8,2' 'rgb(200,32,32)'
cell "$tmp/s1.png" 'circle 8,8 8,2' 'rgb(40,150,60)'
cell "$tmp/s2.png" 'polygon 8,2 14,13 2,13' "$ACCENT_LIGHT"
cell "$tmp/s3.png" 'circle 8,8 8,2' 'rgb(40,96,180)'
strip "$main/160.bmp" "$tmp"/s{0..3}.png
# Scan phase icons 430-433: memory, registry, files, cookies.
convert -size 32x32 xc:white -fill "$ACCENT" -draw 'rectangle 6,9 25,22' -fill white -draw 'rectangle 9,12 22,19' -type TrueColor BMP3:"$main/430.bmp"
convert -size 32x32 xc:white -fill "$ACCENT" -draw 'rectangle 5,5 14,14' -draw 'rectangle 17,5 26,14' -draw 'rectangle 5,17 14,26' -draw 'rectangle 17,17 26,26' -type TrueColor BMP3:"$main/431.bmp"
convert -size 32x32 xc:white -fill "$ACCENT" -draw 'polygon 8,4 20,4 25,9 25,28 8,28' -type TrueColor BMP3:"$main/432.bmp"
convert -size 32x32 xc:white -fill "$ACCENT" -draw 'circle 16,16 16,4' -fill white -draw 'circle 11,12 11,10' -draw 'circle 20,19 20,17' -type TrueColor BMP3:"$main/433.bmp"

# Main window ("MainForm" layout): header, left column, edges, bottom strips, buttons.
convert -size 771x58 "gradient:$ACCENT_LIGHT-$ACCENT" -fill white -font "$FONT" -pointsize 24 \
  -annotate +118+38 'Tarnwick Pro' -strip -quality 92 "$main/401.jpg"
gradient "$main/402.jpg" 105 493 "$DARK" 'rgb(70,76,88)'
gradient "$main/403.jpg" 9 473 "$PANEL" white
gradient "$main/404.jpg" 666 20 white "$PANEL"
gradient "$main/405.jpg" 666 20 'rgb(255,236,214)' 'rgb(255,214,170)'
for pair in "410 Scan" "412 Review" "414 Status" "416 Settings"; do
  set -- $pair
  panelface "$main/$1.jpg" 95 40 'rgb(84,90,102)' 'rgb(56,60,70)'
  panelface "$main/$(($1 + 1)).jpg" 95 40 "$ACCENT_LIGHT" "$ACCENT_DARK"
done
for n in 418 420; do  # Support, About
  panelface "$main/$n.jpg" 95 30 'rgb(84,90,102)' 'rgb(56,60,70)'
  panelface "$main/$(($n + 1)).jpg" 95 30 "$ACCENT_LIGHT" "$ACCENT_DARK"
done
minimise_button "$main/422.bmp" 22 "$ACCENT"; minimise_button "$main/423.bmp" 22 "$ACCENT_DARK"
close_button "$main/424.bmp" 22 "$ACCENT"; close_button "$main/425.bmp" 22 "$ACCENT_DARK"

# Pages of the main sheet ("Status", "Fix", "Review", "Welcome", "ThreatDetails").
convert -size 48x48 xc:white -fill 'rgb(40,150,60)' -draw 'polygon 24,3 43,10 40,30 24,45 8,30 5,10' \
  -stroke "$GLYPH" -strokewidth 4 -fill none -draw 'polyline 14,24 21,31 34,16' -type TrueColor BMP3:"$main/441.bmp"
convert -size 597x3 "xc:$ACCENT" -strip -quality 92 "$main/442.jpg"
convert -size 657x143 "gradient:$PANEL-white" -fill "$ACCENT" -draw 'rectangle 0,0 657,2' -strip -quality 92 "$main/443.jpg"
gradient "$main/444.jpg" 200 30 white "$PANEL"
face "$main/445.bmp" 200 50 "$ACCENT" "$ACCENT_DARK"
face "$main/446.bmp" 200 50 "$ACCENT_LIGHT" "$ACCENT"
face "$main/447.bmp" 120 30 "$ACCENT" "$ACCENT_DARK"
face "$main/448.bmp" 120 30 "$ACCENT_LIGHT" "$ACCENT"
cell "$tmp/l0.png" 'circle 8,8 8,2' 'rgb(200,32,32)'; convert "$tmp/l0.png" -type TrueColor BMP3:"$main/451.bmp"
cell "$tmp/l1.png" 'circle 8,8 8,2' "$ACCENT"; convert "$tmp/l1.png" -type TrueColor BMP3:"$main/452.bmp"
cell "$tmp/l2.png" 'circle 8,8 8,2' 'rgb(240,200,40)'; convert "$tmp/l2.png" -type TrueColor BMP3:"$main/453.bmp"

# Error report, pop-ups and support dialog.
convert -size 430x50 "gradient:$ACCENT_LIGHT-$ACCENT" -strip -quality 92 "$main/460.jpg"
error_icon "$main/461.bmp" 48 48
gradient "$main/462.jpg" 430 150 "$PANEL" white
face "$main/463.bmp" 90 24 "$GREY" "$DARK"
face "$main/464.bmp" 90 24 "$GREY_LIGHT" "$GREY"
convert -size 430x4 "xc:$ACCENT" -strip -quality 92 "$main/465.jpg"
face "$main/466.bmp" 120 30 "$GREY" "$DARK"
face "$main/467.bmp" 120 30 "$GREY_LIGHT" "$GREY"

# Options container tabs and its sub-pages.
face "$main/470.bmp" 150 36 "$GREY" "$DARK"
face "$main/471.bmp" 150 36 "$ACCENT" "$ACCENT_DARK"
face "$main/472.bmp" 200 30 "$ACCENT" "$ACCENT_DARK"
face "$main/473.bmp" 200 30 "$ACCENT_LIGHT" "$ACCENT"
convert -size 617x28 "gradient:$ACCENT_LIGHT-$ACCENT" -strip -quality 92 "$main/474.jpg"
gradient "$main/475.jpg" 617 42 white "$PANEL"
face "$main/476.bmp" 170 26 "$GREY" "$DARK"
face "$main/477.bmp" 170 26 "$GREY_LIGHT" "$GREY"
convert -size 48x48 xc:white -fill "$ACCENT" -draw 'roundrectangle 4,4 43,43 8,8' -fill "$GLYPH" \
  -draw 'polygon 24,36 34,24 28,24 28,12 20,12 20,24 14,24' -type TrueColor BMP3:"$main/478.bmp"
convert -size 617x3 "xc:$ACCENT" -strip -quality 92 "$main/479.jpg"

# --- Updater and download library (TWKDefsUpdaterLang.dll) ----------------------
# "UpdaterMessageBox".
gradient "$upd/116.jpg" 349 121 white "$PANEL"
convert -size 349x31 "gradient:$ACCENT_LIGHT-$ACCENT" -strip -quality 92 "$upd/114.jpg"
convert -size 23x21 "xc:$ACCENT" -fill white -draw 'roundrectangle 6,5 16,15 2,2' -strip -quality 92 "$upd/115.jpg"
gradient "$upd/117.jpg" 23 121 "$PANEL" white
close_button "$upd/108.bmp" 14 "$ACCENT"
face "$upd/120.bmp" 84 33 "$ACCENT" "$ACCENT_DARK"   # OK
face "$upd/122.bmp" 84 33 "$ACCENT" "$ACCENT_DARK"   # Yes
face "$upd/121.bmp" 84 33 "$GREY" "$DARK"            # No
error_icon "$upd/124.bmp" 32 32         # icon code 16, control 1031
question_icon "$upd/118.bmp" 32 33      # icon code 32, control 1025
warning_icon "$upd/119.bmp" 45 43       # icon code 48, control 1026
# Download dialog ("DownloadDefinitions"): short and tall backgrounds, icon, buttons.
convert -size 420x250 "gradient:white-$PANEL" -fill "$ACCENT" -draw 'rectangle 0,0 420,36' -strip -quality 92 "$upd/140.jpg"
convert -size 420x340 "gradient:white-$PANEL" -fill "$ACCENT" -draw 'rectangle 0,0 420,36' -strip -quality 92 "$upd/141.jpg"
convert -size 48x48 xc:white -fill "$ACCENT" -draw 'roundrectangle 4,4 43,43 8,8' -fill white \
  -draw 'polygon 24,12 34,24 28,24 28,36 20,36 20,24 14,24' -type TrueColor BMP3:"$upd/142.bmp"
face "$upd/143.bmp" 90 30 "$ACCENT" "$ACCENT_DARK"
face "$upd/144.bmp" 90 30 "$ACCENT_LIGHT" "$ACCENT"
close_button "$upd/145.bmp" 14 "$ACCENT"
face "$upd/146.bmp" 60 22 "$GREY" "$DARK"
face "$upd/147.bmp" 60 22 "$GREY_LIGHT" "$GREY"
# Schedule pop-up ("UpdaterSchedulePopUp"): background 101 and button faces.
convert -size 250x152 "gradient:white-$PANEL" -fill "$ACCENT" -draw 'rectangle 0,0 250,32' -strip -quality 92 "$upd/101.jpg"
face "$upd/150.bmp" 110 28 "$ACCENT" "$ACCENT_DARK"
face "$upd/151.bmp" 110 28 "$ACCENT_LIGHT" "$ACCENT"
echo "artwork written to $main and $upd"
