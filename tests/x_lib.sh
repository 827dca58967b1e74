# Helpers for the real-window tests: sourced, not run. They drive the program with xdotool and
# read the screen with ImageMagick, and they wait for conditions with a deadline, never for a
# fixed time, so a slow machine makes them slower, not flaky.

failures=0 passes=0
pids=()
# A work folder of the test's own, which becomes the current one, with a home, settings and
# state of its own, and a real X window whatever the caller's environment says. Every program
# started with `launch` is killed and the folder removed when the script ends.
private_session() {
  work=$(mktemp -d)
  export HOME=$work/home XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb
  mkdir -p "$HOME"
  trap 'for p in "${pids[@]}"; do kill -9 $p 2>/dev/null; done; rm -rf "$work"' EXIT
  cd "$work"
}
# launch PROGRAM ARGS...: starts it in the background; its process id is in $pid.
launch() { "$@" & pid=$!; pids+=($pid); }
check() { # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passes=$((passes + 1)); else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
not() { ! "$@"; }
# wait_for SECONDS COMMAND...: true as soon as the command succeeds, false when time runs out.
wait_for() {
  local deadline=$(( $(date +%s%N) + ${1%.*} * 1000000000 )); shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}
finish() { echo "$passes passed, $failures failed"; [ $failures -eq 0 ]; }

# The program's main window of process PID, once it is shown. Asked again until then, not with
# xdotool's --sync: a window of another program that goes away during its search makes xdotool
# fail at once.
window_of_pid() { local w; w=$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -1); [ -n "$w" ] && echo "$w"; }
main_window() {
  local deadline=$(( $(date +%s) + 20 )) w
  until w=$(window_of_pid "$1" "$2"); do
    [ "$(date +%s)" -lt "$deadline" ] || return 0
    sleep 0.1
  done
  echo "$w"
}
# A visible confirmation box ("確認") of process PID, if there is one.
confirmation_of() { xdotool search --all --onlyvisible --pid "$1" --name '^確認$' 2>/dev/null | head -1; }
has_confirmation() { [ -n "$(confirmation_of "$1")" ]; }
gone() { ! kill -0 "$1" 2>/dev/null; }
# answer_box KEYS...: waits for $pid's confirmation box, answers it with the keys, and waits
# for it to go.
answer_box() {
  wait_for 10 has_confirmation $pid || return 1
  xdotool windowfocus --sync "$(confirmation_of $pid)" key "$@"
  wait_for 10 not has_confirmation $pid
}

shot() { import -window "$1" "$2"; }
# The colour of one pixel of an image, as "r,g,b".
# Whether two "r,g,b" colours differ by no more than a lossy copy (a JPEG) may change them.
near() {
  local IFS=, a b i
  read -ra a <<<"$1"; read -ra b <<<"$2"
  for i in 0 1 2; do [ $(( a[i] > b[i] ? a[i] - b[i] : b[i] - a[i] )) -le 6 ] || return 1; done
}
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
# The darkest grey level in a region of an image (0 where the pen drew).
darkest() { convert "$1" -crop "$2" -colorspace gray -format "%[fx:int(255*minima)]" info:; }
# Whether the pixel at X Y of window WID's screenshot is black.
screen_black() { local f; f=$(mktemp --suffix=.png); shot "$1" "$f"; [ "$(pixel "$f" "$2" "$3")" = "0,0,0" ]; local r=$?; rm -f "$f"; return $r; }
screen_white() { local f; f=$(mktemp --suffix=.png); shot "$1" "$f"; [ "$(pixel "$f" "$2" "$3")" = "255,255,255" ]; local r=$?; rm -f "$f"; return $r; }

stroke() { # stroke WID X1 Y1 X2 Y2, in window units
  local w=$1 i
  xdotool mousemove --window "$w" "$2" "$3" mousedown 1
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove --window "$w" $(( $2 + ($4 - $2) * i / 8 )) $(( $3 + ($5 - $3) * i / 8 ))
  done
  xdotool mouseup 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
count_files() { local n=0 f; for f in "$@"; do [ -e "$f" ] && n=$((n + 1)); done; echo $n; }
# The number of pixels that differ between the same region of two images.
differing() { # differing IMAGE1 IMAGE2 GEOMETRY1 GEOMETRY2
  local a b; a=$(mktemp --suffix=.png) b=$(mktemp --suffix=.png)
  convert "$1" -crop "$3" +repage "$a"; convert "$2" -crop "$4" +repage "$b"
  compare -metric AE "$a" "$b" null: 2>&1; rm -f "$a" "$b"
}
