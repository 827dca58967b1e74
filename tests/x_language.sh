#!/usr/bin/env bash
# Tenarai in English, chosen with --language en, in a real window: its title, its confirmation
# boxes and its terminal speak English; its sheets are the same as in Japanese. A locale set to
# English alone changes nothing.
#   x_language.sh TENARAI X_CLOSE_REQUEST ARTIFACT_DIR
set -u
tenarai=$1 xclose=$2 artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session

box_named() { xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -1; }
has_box() { [ -n "$(box_named "$1")" ]; }
answer_named() { # answer_named TITLE KEYS...
  local title=$1; shift
  wait_for 10 has_box "$title" || return 1
  shot "$(box_named "$title")" "$artifacts/language-$title.png"
  xdotool windowfocus --sync "$(box_named "$title")" key "$@"
  wait_for 10 not has_box "$title"
}
matches() { [[ $1 =~ $2 ]]; }
sheets_at_least() { [ "$(count_files result/*.png)" -ge "$1" ]; }

# The terminal: the help in the language asked for; the locale alone keeps Japanese.
check "--help in English" [ "$("$tenarai" --language en --help | head -1)" = "Usage: tenarai [options]" ]
check "an English locale keeps the Japanese help" \
  [ "$(LANG=en_US.UTF-8 LANGUAGE=en LC_ALL=en_US.UTF-8 "$tenarai" --help | head -1)" = "使い方: tenarai [オプション]" ]
refusal=$("$tenarai" --language fr 2>&1 >/dev/null); rc=$?
check "a bad --language is refused with 2 (got $rc)" [ $rc -eq 2 ]
check "the refusal names the option ($refusal)" [ -n "$(echo "$refusal" | grep -- '--language には ja か en')" ]

LANG=en_US.UTF-8 launch "$tenarai" --language en
wid=$(main_window $pid 'Untitled')
[ -n "$wid" ] || { echo "FAIL: no window titled in English"; exit 1; }
wait_for 10 screen_white $wid 300 400
shot $wid "$artifacts/language-en.png"

# Two drawings, saved with "Save results" (the top band's left button).
stroke $wid 100 300 500 300
wait_for 5 screen_black $wid 300 300
click $wid 626 25
wait_for 5 screen_white $wid 300 300
stroke $wid 150 200 450 600
wait_for 5 screen_black $wid 300 400
click $wid 40 25
check "the sheet is written" wait_for 20 sheets_at_least 1
sheets=(result/*.png)
if [ -f "${sheets[0]}" ]; then
  name=$(basename "${sheets[0]}")
  check "the sheet's name is a stamp ($name)" matches "$name" '^[0-9]{8}_[0-9]{6}_1\.png$'
  check "pngcheck reads the sheet" pngcheck -q "${sheets[0]}"
  check "the sheet is 4096 x 4096" [ "$(identify -format '%w %h' "${sheets[0]}")" = "4096 4096" ]
  check "the grid is black" [ "$(pixel "${sheets[0]}" 512 700),$(pixel "${sheets[0]}" 700 512)" = "0,0,0,0,0,0" ]
  for cell in 0 1; do
    check "cell $cell holds a drawing and its stamp" [ "$(darkest "${sheets[0]}" "180x30+$((512 * cell + 4))+4")" -lt 128 ]
  done
  check "cell 2 is empty" [ "$(darkest "${sheets[0]}" "500x500+$((512 * 2 + 6))+6")" -eq 255 ]
fi

# "Reset" asks in English; Enter answers No.
stroke $wid 100 500 500 500
wait_for 5 screen_black $wid 300 500
click $wid 376 25
check "the reset question is titled Confirm and Enter answers No" answer_named Confirm Return
check "No keeps the drawing" screen_black $wid 300 500

# A close request, answered Yes: the drawing is saved, the program ends.
"$xclose" "$wid"
check "the quit question is titled Confirm and answered Yes" answer_named Confirm shift+Tab space
check "the program ends" wait_for 20 gone $pid
check "closing saved a second sheet" [ "$(count_files result/*.png)" -eq 2 ]

finish
