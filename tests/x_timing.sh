#!/usr/bin/env bash
# Time under the learner's hand in the real window with real keys: a plan's break between two
# drawings shows in the bar and the drawing after it is stamped with its limit; Space pauses a
# limited drawing, which then waits however long, and is finished at its limit of drawn time
# once resumed; after a click on "Next", Space pauses and finishes nothing.
#   x_timing.sh TENARAI ARTIFACT_DIR
set -u
tenarai=$1 artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session

start() {
  launch "$tenarai" --plan "$1"
  wid=$(main_window $pid '名前は決まっていません')
  [ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
  xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
  wait_for 5 screen_white $wid 300 300
}
# Whether the bar is filled at its left end, as it is while time is left (grey when none is).
bar_filled() { local f; f=$(mktemp --suffix=.png); shot $wid "$f"; [ "$(pixel "$f" 3 718)" != "228,228,228" ]; local r=$?; rm -f "$f"; return $r; }
sheet_written() { [ "$(count_files result/*.png)" -ge 1 ]; }
# save_and_compare_stamps WHAT: saves, then checks that cells 0 and 1 carry the same stamp.
same_stamps() {
  xdotool key ctrl+s
  check "Ctrl+S writes a sheet" wait_for 20 sheet_written
  local sheet; sheet=$(ls result/*.png 2>/dev/null | head -1)
  [ -n "$sheet" ] || return
  local d; d=$(differing "$sheet" "$sheet" 150x24+1+1 150x24+513+1)
  check "$1 (differing pixels: $d)" [ "$d" = "0" ]
  cp "$sheet" "$artifacts/timing-$2.png"
  rm -f result/*.png
}

# A break between two drawings of two seconds.
start "1x2s,rest2s,1x2s"
stroke $wid 100 200 500 200
check "the first drawing is finished by itself" wait_for 10 screen_white $wid 300 200
check "the bar counts the break down" wait_for 3 bar_filled
shot $wid "$artifacts/break.png"
check "the break ends" wait_for 10 not bar_filled
stroke $wid 100 300 500 300
check "the drawing after the break is finished by its limit" wait_for 10 screen_white $wid 300 300
same_stamps "the drawing after the break is stamped with its limit, as the one before" break
kill $pid; wait $pid 2>/dev/null

# A paused drawing waits; resumed, it ends at its limit of drawn time.
start "1x3s,1x3s"
stroke $wid 100 200 500 200
xdotool key space
check "paused, the drawing is still there after four seconds" not wait_for 4 screen_white $wid 300 200
xdotool key space
check "resumed, it is finished by its limit" wait_for 10 screen_white $wid 300 200
stroke $wid 100 300 500 300
check "the next one is finished by its limit" wait_for 10 screen_white $wid 300 300
# After a click on "Next", Space pauses: it finishes no drawing.
stroke $wid 100 400 500 400
click $wid 626 25
check "Next finishes the drawing" wait_for 5 screen_white $wid 300 400
stroke $wid 100 500 500 500
xdotool key space
check "Space after Next finishes nothing" not wait_for 2 screen_white $wid 300 500
same_stamps "the paused drawing is stamped exactly with its limit, as the unpaused one" pause
finish
