#!/bin/sh
# Draws the program icon (hicolor sizes) and the two banner pictures into data/.
# Run by hand after changing the drawing; the PNGs are committed, building does not need this.
set -e
MAGICK=${MAGICK:-/usr/bin/convert}
cd "$(dirname "$0")/../data"
green="#2e5d4b"; cream="#f4ead8"; brass="#d8a93b"

mkdir -p icons/hicolor/256x256/apps
"$MAGICK" -size 256x256 xc:none \
  -fill "$green" -draw "roundrectangle 8,8 247,247 44,44" \
  -fill "$cream" -draw "polygon 58,212 198,212 180,124 76,124" \
  -fill "$green" -draw "circle 128,168 128,196" \
  -fill "$cream" -draw "circle 128,168 128,178" \
  -fill none -stroke "$cream" -strokewidth 20 -draw "path 'M 62,104 Q 128,44 194,104'" \
  -stroke none -fill "$cream" -draw "roundrectangle 38,88 86,120 10,10" \
  -draw "roundrectangle 170,88 218,120 10,10" \
  -fill none -stroke "$brass" -strokewidth 9 -draw "line 190,160 226,160" -draw "line 226,160 226,196" \
  -stroke none -fill "$brass" -draw "circle 226,202 226,214" \
  icons/hicolor/256x256/apps/kurbelfon.png
for size in 16 22 24 32 48 64 128; do
  mkdir -p "icons/hicolor/${size}x${size}/apps"
  "$MAGICK" icons/hicolor/256x256/apps/kurbelfon.png -filter Lanczos -resize "${size}x${size}" \
    "icons/hicolor/${size}x${size}/apps/kurbelfon.png"
done

banner() { # file, background from, to, title, line
  "$MAGICK" -size 468x60 "gradient:$2-$3" \
    \( icons/hicolor/48x48/apps/kurbelfon.png \) -geometry +8+6 -composite \
    -fill "$cream" -font DejaVu-Sans-Bold -pointsize 22 -annotate +68+27 "$4" \
    -font DejaVu-Sans -pointsize 14 -annotate +68+49 "$5" \
    -strip "$1"
}
banner banner-kurbelfon.png "$green" "#173328" "Kurbelfon" "Wählhilfe für Modem, Lautsprecher und Router"
banner banner-partner.png "#7a2e1c" "#3d160d" "Günstig telefonieren" \
  "Call-by-Call-Tarife im Vergleich – hier klicken"
