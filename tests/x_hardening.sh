#!/usr/bin/env bash
# Faults seen in the real window: a resize must never lose or move the drawing (shrink and
# restore, maximise and restore, a stroke drawn while maximised), and SIGTERM or SIGHUP (a
# logout, a shutdown, a closed terminal) must leave the practice, the drawing in progress
# included, for the next start to offer; a file-size limit fails a save with a message instead
# of ending the program.
#   x_hardening.sh TENARAI ARTIFACT_DIR
set -u
tenarai=$1 artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session
mkdir -p "$work/practice"
cd "$work/practice"
title='名前は決まっていません'
start() { launch "$tenarai" "$@"; wid=$(main_window $pid "$title"); [ -n "$wid" ]; }
window_size() { xdotool getwindowgeometry "$wid" | awk '/Geometry/ {print $2}'; }
size_is() { [ "$(window_size)" = "$1" ]; }
canvas_shot() { # the canvas below the top band (whose clocks run), at the window's default size
  shot $wid "$1"; convert "$1" -crop 667x648+0+50 +repage "$1"
}
same_image() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }

check "the program starts" start
wait_for 10 screen_white $wid 300 400
# Strokes near every edge (the drawer's strip at the left edge aside): the strips a shrink cut off.
stroke $wid 40 60 660 60
stroke $wid 40 690 660 690
stroke $wid 40 60 40 690
stroke $wid 663 60 663 690
stroke $wid 150 200 500 550
check "the strokes are drawn" wait_for 5 screen_black $wid 663 400
check "all of them" screen_black $wid 300 690
canvas_shot "$work/before.png"

xdotool windowsize --sync "$wid" 300 340 2>/dev/null; wait_for 5 size_is 300x340
xdotool windowsize --sync "$wid" 668 727 2>/dev/null
check "the window is back to its size" wait_for 5 size_is 668x727
sleep 0.3
canvas_shot "$work/shrunk.png"
check "shrink, then restore: the same pixels in the same places" same_image "$work/before.png" "$work/shrunk.png"

xdotool windowsize --sync "$wid" 1200 1000 2>/dev/null; wait_for 5 size_is 1200x1000
# While large, a stroke across the whole window, beyond the usual canvas.
stroke $wid 300 500 900 500
xdotool windowsize --sync "$wid" 668 727 2>/dev/null
check "the window is back again" wait_for 5 size_is 668x727
sleep 0.3
shot $wid "$artifacts/after-maximise.png"
canvas_shot "$work/maximised.png"
# The stroke drawn while large crosses the canvas; all else is as before.
convert "$work/before.png" -fill black -draw "rectangle 0,311 666,315" "$work/masked-before.png"
convert "$work/maximised.png" -fill black -draw "rectangle 0,311 666,315" "$work/masked-after.png"
check "maximise, then restore: the same pixels in the same places" same_image "$work/masked-before.png" "$work/masked-after.png"
# Window row 500 of the 1002-pixel canvas is row 363 of the 667-pixel one: both centred alike.
check "the stroke drawn while large is kept" screen_black $wid 100 363

# SIGTERM: no question, the practice and the drawing in progress go to the journal.
click $wid 626 25
wait_for 5 screen_white $wid 300 350
stroke $wid 200 250 200 600
wait_for 5 screen_black $wid 200 400
kill -TERM $pid
check "SIGTERM ends the program" wait_for 20 gone $pid
wait $pid; rc=$?
check "with status 0 (got $rc)" [ $rc -eq 0 ]
check "the next start offers the practice" start
check "the offer appears and Enter takes it" answer_box Return
check "the drawing in progress is back" wait_for 10 screen_black $wid 200 400

# SIGHUP: the same.
stroke $wid 400 250 400 600
wait_for 5 screen_black $wid 400 400
kill -HUP $pid
check "SIGHUP ends the program" wait_for 20 gone $pid
check "started again" start
check "the offer appears again and Enter takes it" answer_box Return
check "both strokes are back" wait_for 10 screen_black $wid 400 400
check "and the first" screen_black $wid 200 400
kill -9 $pid

# A file-size limit: the sheet's write fails with the usual message, nothing is left behind,
# and the program goes on with every drawing.
rm -rf "$XDG_STATE_HOME" result
launch prlimit --fsize=60000 -- "$tenarai"
wid=$(main_window $pid "$title")
check "the program starts under a file-size limit" [ -n "$wid" ]
for y in 100 160 220 280 340 400 460 520; do
  for x in 100 250 400; do stroke $wid $x $y $((x + 120)) $((y + 40)); done
  xdotool key n
done
xdotool key ctrl+s
message_of() { xdotool search --all --onlyvisible --pid "$1" --name '^Tenarai$' 2>/dev/null | head -1; }
has_message() { [ -n "$(message_of $pid)" ]; }
check "the failed save is told in a box titled Tenarai" wait_for 20 has_message
check "and the program is still there" not gone $pid
leftovers() { ls -A result 2>/dev/null | grep -c . ; }
check "with no file left in the result folder" [ "$(leftovers)" -eq 0 ]
kill -9 $pid

finish
