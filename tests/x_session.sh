#!/usr/bin/env bash
# Drives the built program in a real X window with real input (xdotool), the way a person would,
# and checks what they would see: screenshots of the window, and the sheets on disk read back by
# pngcheck and ImageMagick. Every step waits for what it needs to see, with a deadline.
#   x_session.sh TENARAI X_CLOSE_REQUEST ARTIFACT_DIR
set -u
tenarai=$1 xclose=$2 artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session

same_region() { [ "$(convert "$work/$1.png" -crop "$3" +repage rgb:- | md5sum)" = "$(convert "$work/$2.png" -crop "$3" +repage rgb:- | md5sum)" ]; }
clocks_differ() { # the clock area changes between two screenshots taken now and a moment later
  shot $wid "$work/c1.png"; sleep 0.2; shot $wid "$work/c2.png"; ! same_region c1 c2 145x49+200+0
}
sheets_at_least() { [ "$(count_files result/*.png)" -ge "$1" ]; }

launch "$tenarai"
wid=$(main_window $pid '名前は決まっていません')
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
wait_for 10 screen_white $wid 300 400

# Start-up: a white canvas below the top band; the screenshot is kept.
shot $wid "$work/start.png"
cp "$work/start.png" "$artifacts/startup.png"
check "start-up window is 668 x 727" [ "$(identify -format '%w %h' "$work/start.png")" = "668 727" ]
for p in "300 400" "20 690" "650 100" "333 60"; do
  check "start-up canvas white at $p" [ "$(pixel "$work/start.png" $p)" = "255,255,255" ]
done

# A stroke draws on the canvas and the drawing clock runs.
stroke $wid 100 300 500 300
check "the stroke is on screen" wait_for 5 screen_black $wid 300 300
check "next to it is white" screen_white $wid 300 303
check "the clocks run while drawing" wait_for 5 clocks_differ

# "Next": the canvas is white again and the clocks stand still.
click $wid 626 25
check "Next clears the canvas" wait_for 5 screen_white $wid 300 300
shot $wid "$work/next1.png"; sleep 0.3; shot $wid "$work/next1b.png"
check "the clocks stop after Next" same_region next1 next1b 145x49+200+0

stroke $wid 100 400 500 450
wait_for 5 screen_black $wid 300 425
click $wid 626 25
wait_for 5 screen_white $wid 300 425

# Pull the drawer out from the left edge: the list shows over the shaded window.
xdotool mousemove --window "$wid" 5 500 mousedown 1
for x in 30 60 90 120 150 180 200; do xdotool mousemove --window "$wid" $x 500; done
xdotool mouseup 1
shaded() { local f; f=$(mktemp --suffix=.png); shot $wid "$f"; local s; s=$(pixel "$f" 450 600); rm -f "$f"; [ "$s" != "255,255,255" ]; }
check "the rest of the window is shaded" wait_for 5 shaded
check "the drawer covers the left edge" not screen_white $wid 15 500
shot $wid "$artifacts/drawer.png"
click $wid 450 600
check "a click on the shade closes the drawer" wait_for 5 screen_white $wid 450 600

# "結果を保存" during the third drawing: three thumbnails on one sheet.
stroke $wid 150 200 450 600
wait_for 5 screen_black $wid 300 400
click $wid 40 25
check "one sheet written" wait_for 20 sheets_at_least 1
sheets=(result/*.png)
check "only one" [ ${#sheets[@]} -eq 1 ]
if [ -f "${sheets[0]}" ]; then
  check "pngcheck reads the sheet" pngcheck -q "${sheets[0]}"
  check "the sheet is 4096 x 4096" [ "$(identify -format '%w %h' "${sheets[0]}")" = "4096 4096" ]
  for cell in 0 1 2; do
    check "cell $cell holds a drawing" [ "$(darkest "${sheets[0]}" "500x440+$((512 * cell + 6))+60")" -lt 128 ]
  done
  check "cell 3 is empty" [ "$(darkest "${sheets[0]}" "500x500+$((512 * 3 + 6))+6")" -eq 255 ]
fi
check "the save starts a new practice" wait_for 5 screen_white $wid 300 400

# "リセット" answered with Enter: No, the drawing stays.
stroke $wid 100 500 500 500
wait_for 5 screen_black $wid 300 500
click $wid 376 25
check "the reset confirmation appears and Enter answers it" answer_box Return
check "No keeps the drawing" screen_black $wid 300 500
check "the window is still there" kill -0 $pid

# A close request from the window system, answered Yes: the drawing is saved, the program ends.
"$xclose" "$wid"
check "the quit confirmation appears and is answered Yes" answer_box shift+Tab space
check "the program ends" wait_for 20 gone $pid
wait $pid; rc=$?
check "the program exits with 0 (got $rc)" [ $rc -eq 0 ]
sheets=(result/*.png)
check "closing saved a second sheet" [ ${#sheets[@]} -eq 2 ]
if [ ${#sheets[@]} -eq 2 ]; then
  check "the closing sheet holds the drawing" [ "$(darkest "${sheets[1]}" "500x440+6+60")" -lt 128 ]
  check "pngcheck reads it" pngcheck -q "${sheets[1]}"
fi

finish
