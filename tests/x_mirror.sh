#!/usr/bin/env bash
# The mirror view in the real window with real input: M shows a stroke of the left half in the
# right half; a stroke drawn mirrored near the left edge lies, unmirrored, near the right edge;
# "Next" and a save put the unmirrored drawing in the sheet.
#   x_mirror.sh TENARAI ARTIFACT_DIR
set -u
tenarai=$1 artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session

launch "$tenarai"
wid=$(main_window $pid '名前は決まっていません')
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
wait_for 5 screen_white $wid 300 300

# The canvas is 667 units square, 31 below the window's top: x on screen mirrors to 667 - x.
stroke $wid 100 300 200 300
check "the stroke shows where it was drawn" screen_black $wid 150 300
xdotool key m
check "M shows it mirrored, in the right half" wait_for 5 screen_black $wid 517 300
check "and not where it was" screen_white $wid 150 300
stroke $wid 30 400 80 400
check "a mirrored stroke lands under the pointer" wait_for 5 screen_black $wid 55 400
shot $wid "$artifacts/mirror.png"
xdotool key m
check "unmirrored, it lies near the right edge" wait_for 5 screen_black $wid 612 400
check "and the first stroke is back where it was drawn" screen_black $wid 150 300

xdotool key m # the sheet takes the drawing unmirrored whatever the view
xdotool key n
check "Next clears the canvas" wait_for 5 screen_white $wid 517 300
xdotool key ctrl+s
sheet_written() { [ "$(count_files result/*.png)" -ge 1 ]; }
check "Ctrl+S writes a sheet" wait_for 20 sheet_written
sheet=$(ls result/*.png 2>/dev/null | head -1)
if [ -n "$sheet" ]; then
  # The canvas's 667 pixels are the cell's 512: y 300 → 206, y 400 → 283.
  check "the first stroke is in the cell's left half" [ "$(darkest "$sheet" 80x8+80+202)" -lt 200 ]
  check "and not mirrored into its right half" [ "$(darkest "$sheet" 80x8+352+202)" -eq 255 ]
  check "the mirrored stroke is in the cell's right half" [ "$(darkest "$sheet" 40x8+452+279)" -lt 200 ]
  check "and not in its left half" [ "$(darkest "$sheet" 40x8+20+279)" -eq 255 ]
fi
finish
