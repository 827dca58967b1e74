#!/usr/bin/env bash
# Drives the built program in a real X window with real input (xdotool), the way a person would,
# and checks what they would see: screenshots of the window, and the sheets on disk read back by
# pngcheck and ImageMagick.
#   x_session.sh TENARAI X_CLOSE_REQUEST ARTIFACT_DIR
set -u
tenarai=$1 xclose=$2 artifacts=$3
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"

failures=0 passes=0
check() { # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passes=$((passes + 1)); else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
shot() { import -window "$wid" "$work/$1.png"; }
# The colour of one pixel of a screenshot, as "r,g,b".
pixel() { convert "$work/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
not() { ! "$@"; }
is_white() { [ "$(pixel "$1" "$2" "$3")" = "255,255,255" ]; }
is_black() { [ "$(pixel "$1" "$2" "$3")" = "0,0,0" ]; }
# The darkest grey level in a region of an image (0 where the pen drew).
darkest() { convert "$1" -crop "$2" -colorspace gray -format "%[fx:int(255*minima)]" info:; }
same_region() { [ "$(convert "$work/$1.png" -crop "$3" +repage rgb:- | md5sum)" = "$(convert "$work/$2.png" -crop "$3" +repage rgb:- | md5sum)" ]; }
stroke() { # stroke X1 Y1 X2 Y2, in window units
  xdotool mousemove --window "$wid" "$1" "$2" mousedown 1
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove --window "$wid" $(( $1 + ($3 - $1) * i / 8 )) $(( $2 + ($4 - $2) * i / 8 ))
  done
  xdotool mouseup 1
  sleep 0.2
}
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; sleep 0.4; }
wait_box() { xdotool search --sync --onlyvisible --name '^確認$' | head -1; }

"$tenarai" & pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '名前は決まっていません' | head -1)
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
sleep 0.5

# Start-up: a white canvas below the top band; the screenshot is kept.
shot start
cp "$work/start.png" "$artifacts/startup.png"
check "start-up window is 668 x 727" [ "$(identify -format '%w %h' "$work/start.png")" = "668 727" ]
for p in "300 400" "20 690" "650 100" "333 60"; do
  check "start-up canvas white at $p" is_white start $p
done

# A stroke draws on the canvas and the drawing clock runs.
stroke 100 300 500 300
shot drawing1
check "the stroke is on screen" is_black drawing1 300 300
check "next to it is white" is_white drawing1 300 303
sleep 0.3; shot drawing1b
check "the clocks run while drawing" not same_region drawing1 drawing1b 145x49+200+0

# "Next": the canvas is white again and the clocks stand still.
click 626 25
shot next1
check "Next clears the canvas" is_white next1 300 300
sleep 0.3; shot next1b
check "the clocks stop after Next" same_region next1 next1b 145x49+200+0

stroke 100 400 500 450
click 626 25

# Pull the drawer out from the left edge: the list shows over the shaded window.
xdotool mousemove --window "$wid" 5 500 mousedown 1
for x in 30 60 90 120 150 180 200; do xdotool mousemove --window "$wid" $x 500; done
xdotool mouseup 1
sleep 0.6
shot drawer
check "the drawer covers the left edge" not is_white drawer 15 500
shade=$(pixel drawer 450 600)
check "the rest of the window is shaded ($shade)" [ "$shade" != "255,255,255" ]
cp "$work/drawer.png" "$artifacts/drawer.png"
click 450 600
sleep 0.4
shot closed
check "a click on the shade closes the drawer" is_white closed 450 600

# "結果を保存" during the third drawing: three thumbnails on one sheet.
stroke 150 200 450 600
click 40 25
sleep 0.5
sheets=(result/*.png)
check "one sheet written" [ ${#sheets[@]} -eq 1 ]
if [ -f "${sheets[0]}" ]; then
  check "pngcheck reads the sheet" pngcheck -q "${sheets[0]}"
  check "the sheet is 4096 x 4096" [ "$(identify -format '%w %h' "${sheets[0]}")" = "4096 4096" ]
  for cell in 0 1 2; do
    check "cell $cell holds a drawing" [ "$(darkest "${sheets[0]}" "500x440+$((512 * cell + 6))+60")" -lt 128 ]
  done
  check "cell 3 is empty" [ "$(darkest "${sheets[0]}" "500x500+$((512 * 3 + 6))+6")" -eq 255 ]
fi
shot saved
check "the save starts a new practice" is_white saved 300 400

# "リセット" answered with Enter: No, the drawing stays.
stroke 100 500 500 500
click 376 25
box=$(timeout 10 bash -c "$(declare -f wait_box); wait_box")
check "the reset confirmation appears" [ -n "$box" ]
xdotool windowfocus --sync "$box" key Return
sleep 0.4
shot afterno
check "No keeps the drawing" is_black afterno 300 500
check "the window is still there" kill -0 $pid

# A close request from the window system, answered Yes: the drawing is saved, the program ends.
echo "closing window $wid"; "$xclose" "$wid"
box=$(timeout 10 bash -c "$(declare -f wait_box); wait_box")
check "the quit confirmation appears" [ -n "$box" ]
xdotool windowfocus --sync "$box" key shift+Tab space
for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
wait $pid; rc=$?
check "the program exits with 0 (got $rc)" [ $rc -eq 0 ]
sheets=(result/*.png)
check "closing saved a second sheet" [ ${#sheets[@]} -eq 2 ]
if [ ${#sheets[@]} -eq 2 ]; then
  check "the closing sheet holds the drawing" [ "$(darkest "${sheets[1]}" "500x440+6+60")" -lt 128 ]
  check "pngcheck reads it" pngcheck -q "${sheets[1]}"
fi

echo "$passes passed, $failures failed"
[ $failures -eq 0 ]
