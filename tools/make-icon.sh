#!/usr/bin/env bash
# Draws the program icon (a small scaler front panel: dark chassis, a screen
# with a green picture, input buttons and a red mute lamp) at 16, 32 and 48
# pixels and writes resources/vrx2600.ico. Run by hand after changing it.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for s in 48 32 16; do
  f=$(echo "scale=4; $s/48" | bc)
  p() { printf '%.0f' "$(echo "$1*$f" | bc)"; }
  convert -size ${s}x${s} xc:none \
    -fill '#2b2f36' -stroke '#101215' -draw "roundrectangle $(p 1),$(p 10) $(p 46),$(p 38) $(p 4),$(p 4)" \
    -stroke none -fill '#0b3d1a' -draw "rectangle $(p 5),$(p 14) $(p 24),$(p 31)" \
    -fill '#39d353' -draw "polygon $(p 6),$(p 30) $(p 12),$(p 20) $(p 17),$(p 26) $(p 20),$(p 22) $(p 23),$(p 30)" \
    -fill '#d0d4da' -draw "rectangle $(p 28),$(p 15) $(p 32),$(p 19)" \
    -draw "rectangle $(p 35),$(p 15) $(p 39),$(p 19)" \
    -draw "rectangle $(p 28),$(p 24) $(p 32),$(p 28)" \
    -draw "rectangle $(p 35),$(p 24) $(p 39),$(p 28)" \
    -fill '#e5322d' -draw "circle $(p 42),$(p 32) $(p 43.5),$(p 32)" \
    "$tmp/icon$s.png"
done
convert "$tmp/icon16.png" "$tmp/icon32.png" "$tmp/icon48.png" resources/vrx2600.ico
echo "wrote resources/vrx2600.ico"
