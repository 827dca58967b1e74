#!/usr/bin/env bash
# Plans, undo and keys in the real window with real input: "--plan 2x2s" finishes two drawings
# by itself and leaves the third unlimited; Ctrl+Z and Ctrl+Shift+Z take a stroke off the
# screen and back; E and P switch tools; N and Ctrl+S work.
#   x_keys.sh TENARAI ARTIFACT_DIR
set -u
tenarai=$1 artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session

launch "$tenarai" --plan 2x2s
wid=$(main_window $pid '名前は決まっていません')
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
wait_for 5 screen_white $wid 300 300

# Two drawings of the plan end by themselves after two seconds each.
for y in 200 400; do
  stroke $wid 100 $y 500 $y
  check "the stroke at $y is drawn" screen_black $wid 300 $y
  check "the plan finishes the drawing at $y by itself" wait_for 10 screen_white $wid 300 $y
done
shot $wid "$artifacts/plan.png"

# The third has no limit: it stays.
stroke $wid 100 300 500 300
check "the third drawing has no limit" not wait_for 4 screen_white $wid 300 300

# Undo and redo with the keys.
stroke $wid 100 500 500 500
xdotool key ctrl+z
check "Ctrl+Z takes the last stroke off the screen" wait_for 5 screen_white $wid 300 500
check "the stroke before it stays" screen_black $wid 300 300
xdotool key ctrl+shift+z
check "Ctrl+Shift+Z brings it back" wait_for 5 screen_black $wid 300 500

# E: the eraser wipes; P: the pen draws again.
xdotool key e
stroke $wid 300 250 300 350
check "after E a stroke erases" wait_for 5 screen_white $wid 300 300
xdotool key p
stroke $wid 100 600 500 600
check "after P a stroke draws" wait_for 5 screen_black $wid 300 600

# N finishes the drawing; Ctrl+S saves the practice.
xdotool key n
check "N finishes the drawing" wait_for 5 screen_white $wid 300 600
stroke $wid 100 450 500 450
xdotool key ctrl+s
sheets_written() { [ "$(count_files result/*.png)" -ge 1 ]; }
check "Ctrl+S writes a sheet" wait_for 20 sheets_written
sheet=$(ls result/*.png 2>/dev/null | head -1)
if [ -n "$sheet" ]; then
  check "pngcheck reads the sheet" pngcheck -q "$sheet"
  for cell in 0 1 2 3; do
    check "cell $cell holds a drawing" [ "$(darkest "$sheet" "500x400+$((512 * cell + 6))+100")" -lt 200 ]
  done
  check "cell 4 is empty" [ "$(darkest "$sheet" "500x500+$((512 * 4 + 6))+6")" -eq 255 ]
  stamps=$(differing "$sheet" "$sheet" 150x24+1+1 150x24+513+1)
  check "both timed drawings carry the same stamp, their limit (differing pixels: $stamps)" [ "$stamps" = "0" ]
  stamps=$(differing "$sheet" "$sheet" 150x24+1+1 150x24+1025+1)
  check "the untimed one does not" [ "$stamps" != "0" ]
fi
check "Ctrl+S started a new practice" wait_for 5 screen_white $wid 300 450

finish
