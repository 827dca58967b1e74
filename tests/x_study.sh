#!/usr/bin/env bash
# Study aids in the real window: drawing from memory at 5 s hides the reference and V shows it
# again; "Next" shows the next one; the wheel zooms and a double-click fits again; G lays the
# grid over both windows and not into the saved sheet.
#   x_study.sh TENARAI ARTIFACT_DIR
set -u
tenarai=$1 artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session
mkdir -p "$work/refs" "$XDG_CONFIG_HOME/io.github.tenarai"
printf '[references]\nmemorySeconds=5\n' > "$XDG_CONFIG_HOME/io.github.tenarai/Tenarai.conf"
colours=("230,30,30" "30,170,60")
for i in 0 1; do convert -size 400x400 "xc:rgb(${colours[$i]})" "$work/refs/$i.png"; done

launch "$tenarai" --references "$work/refs"
wid=$(main_window $pid '名前は決まっていません')
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
ref=$(timeout 20 xdotool search --sync --all --onlyvisible --pid $pid --name '^参考画像$' | head -1)
[ -n "$ref" ] || { echo "FAIL: the reference window did not appear"; exit 1; }
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"

at() { local f; f=$(mktemp --suffix=.png); shot "$ref" "$f"; pixel "$f" "$1" "$2"; rm -f "$f"; }
eval "$(xdotool getwindowgeometry --shell "$ref" | sed 's/^/R_/')"
rw=$R_WIDTH rh=$R_HEIGHT
centre() { at $((rw / 2)) $((rh / 2)); }
is_image() { local c; c=$(centre); [ "$c" = "${colours[0]}" ] || [ "$c" = "${colours[1]}" ]; }
check "the reference shows" wait_for 10 is_image
first=$(centre)
check "after 5 s it is hidden, for drawing from memory" wait_for 9 not is_image
shot "$ref" "$artifacts/study-memory.png"
xdotool key v
check "V shows it again" wait_for 5 is_image
check "and hides it again after its time" wait_for 9 not is_image

stroke $wid 150 300 500 300
xdotool key n
next_shown() { is_image && [ "$(centre)" != "$first" ]; }
check "Next shows the next reference" wait_for 10 next_shown

# The window's corner is dark ground around the fitted square; zoomed in, the image fills it.
corner() { at 3 3; }
ground=$(corner)
xdotool mousemove --window "$ref" $((rw / 2)) $((rh / 2)) click 4 click 4 click 4 click 4 click 4
zoomed() { [ "$(corner)" != "$ground" ]; }
check "the wheel zooms in" wait_for 5 zoomed
xdotool click --repeat 2 --delay 50 1
check "a double-click fits it again" wait_for 5 not zoomed

xdotool windowfocus --sync "$wid"
xdotool key g
# The canvas, 667 units square from y = 31: its first third falls at x = 222.
grid_on_canvas() { local f; f=$(mktemp --suffix=.png); shot $wid "$f"; [ "$(darkest "$f" 3x1+221+450)" -lt 100 ]; local r=$?; rm -f "$f"; return $r; }
check "G lays the grid over the canvas" wait_for 5 grid_on_canvas
shot "$ref" "$artifacts/study-grid.png"
check "and over the reference" [ "$(darkest "$artifacts/study-grid.png" "$((rw))x$((rh))+0+0")" -lt 60 ]
xdotool key ctrl+s
sheet_written() { [ "$(count_files result/*.png)" -ge 1 ]; }
check "Ctrl+S writes a sheet" wait_for 20 sheet_written
sheet=$(ls result/*_1.png 2>/dev/null | head -1)
# Where the first third of the cell would be (x = 170), above the stroke and beside the stamp.
[ -n "$sheet" ] && check "the sheet's cell has no grid line" [ "$(darkest "$sheet" 20x140+160+30)" -eq 255 ]
finish
