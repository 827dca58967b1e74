#!/usr/bin/env bash
# The practice record in the real window: after two saves, H opens "練習の記録" with today's
# square shaded; Enter opens the newest practice in "振り返り" with its drawings.
#   x_record.sh TENARAI ARTIFACT_DIR
set -u
tenarai=$1 artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session

window_of() { xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -1; }
shown() { [ -n "$(window_of $pid "$1")" ]; }
pixels_of() { convert "$1" -fuzz 2% -fill black +opaque "rgb($2)" -fill white -opaque "rgb($2)" -format "%[fx:int(mean*w*h)]" info:; }
sheets() { [ "$(count_files result/*.png)" -ge "$1" ]; }
recorded() { [ "$(sqlite3 "$XDG_DATA_HOME/tenarai/history.sqlite" 'SELECT count(*) FROM practice' 2>/dev/null)" = "$1" ]; }

launch "$tenarai"
wid=$(main_window $pid '名前は決まっていません')
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"
wait_for 5 screen_white $wid 300 300
for practice in 1 2; do
  stroke $wid 150 300 500 300
  xdotool key n
  stroke $wid 150 400 500 400
  xdotool key ctrl+s
  check "save $practice writes its sheet" wait_for 20 sheets $practice
  check "and is recorded" wait_for 10 recorded $practice
done

xdotool key h
check "H opens 練習の記録" wait_for 10 shown '^練習の記録$'
record=$(window_of $pid '^練習の記録$')
if [ -n "$record" ]; then
  # Four drawings today: the shade of a day of 1 to 4 drawings.
  today_shaded() { shot "$record" "$artifacts/record.png"; [ "$(pixels_of "$artifacts/record.png" "183,211,240")" -ge 60 ]; }
  check "today's square is shaded" wait_for 10 today_shaded
  xdotool windowfocus --sync "$record"
  xdotool key Return
  check "Enter opens the practice in 振り返り" wait_for 10 shown '^振り返り$'
  review=$(window_of $pid '^振り返り$')
  if [ -n "$review" ]; then
    has_ink() { shot "$review" "$artifacts/record-review.png"; [ "$(darkest "$artifacts/record-review.png" "$(identify -format '%wx%h' "$artifacts/record-review.png")+0+0")" -lt 150 ]; }
    check "with its drawings" wait_for 10 has_ink
  fi
fi
finish
