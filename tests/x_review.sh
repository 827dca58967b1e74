#!/usr/bin/env bash
# The review in the real window: after three drawings over three references, R opens
# "振り返り" beside the main window with three pairs, each reference in the colour that was
# shown and each drawing's ink; a pair opened large and laid over shows the ink over its
# reference; Escape twice closes it; a plan's end opens it by itself.
#   x_review.sh TENARAI ARTIFACT_DIR
set -u
tenarai=$1 artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session
mkdir -p "$work/refs"
colours=("230,30,30" "30,170,60" "40,70,230")
for i in 0 1 2; do convert -size 640x480 "xc:rgb(${colours[$i]})" "$work/refs/$i.png"; done

# How many pixels of a screenshot are within a few levels of a colour.
pixels_of() { convert "$1" -fuzz 4% -fill black +opaque "rgb($2)" -fill white -opaque "rgb($2)" -format "%[fx:int(mean*w*h)]" info:; }
review_of() { xdotool search --all --onlyvisible --pid "$1" --name '^振り返り$' 2>/dev/null | head -1; }
review_shown() { [ -n "$(review_of $pid)" ]; }

launch "$tenarai" --references "$work/refs"
wid=$(main_window $pid '名前は決まっていません')
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
timeout 20 xdotool search --sync --all --onlyvisible --pid $pid --name '^参考画像$' >/dev/null
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
wait_for 5 screen_white $wid 300 300
for y in 250 350 450; do
  stroke $wid 150 $y 500 $y
  xdotool key n
  wait_for 5 screen_white $wid 300 $y
done

xdotool key r
check "R opens 振り返り" wait_for 10 review_shown
review=$(review_of $pid)
if [ -n "$review" ]; then
  eval "$(xdotool getwindowgeometry --shell "$wid" | sed 's/^/M_/')"
  eval "$(xdotool getwindowgeometry --shell "$review" | sed 's/^/R_/')"
  check "it opens beside the main window, not over it" [ $R_X -ge $((M_X + M_WIDTH)) -o $((R_X + R_WIDTH)) -le $M_X ]
  f="$artifacts/review.png"
  has_all() {
    shot "$review" "$f"
    local c; for c in "${colours[@]}"; do [ "$(pixels_of "$f" "$c")" -gt 2000 ] || return 1; done
  }
  check "its three pairs show the three references that were shown" wait_for 10 has_all
  check "and the drawings' ink" [ "$(darkest "$f" "$(identify -format '%wx%h' "$f")+0+0")" -lt 100 ]
  xdotool windowactivate --sync "$review" 2>/dev/null || xdotool windowfocus --sync "$review"
  xdotool key Return
  xdotool key o
  inked() { shot "$review" "$artifacts/review-overlay.png"; [ "$(pixels_of "$artifacts/review-overlay.png" "224,16,64")" -gt 100 ]; }
  check "laid over, the ink shows over the reference" wait_for 10 inked
  xdotool key Escape
  check "Escape goes back to the grid" wait_for 10 not inked
  xdotool key Escape
  check "and again closes the window" wait_for 10 not review_shown
fi
kill $pid; wait $pid 2>/dev/null

# A plan's end, in a practice of its own: the journal of the one before is not offered.
rm -rf "$XDG_STATE_HOME"
launch "$tenarai" --plan 1x1s
wid=$(main_window $pid '名前は決まっていません')
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
wait_for 5 screen_white $wid 300 300
stroke $wid 150 300 500 300
check "the plan's end opens 振り返り by itself" wait_for 10 review_shown
finish
