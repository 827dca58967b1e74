#!/usr/bin/env bash
# A practice survives a kill: the real program, killed with SIGKILL at several moments, is
# started again in the same folder and offers what was drawn; Enter takes it back, and the
# save holds the same drawings in the same cells with the same stamps.
#   x_recovery.sh TENARAI X_CLOSE_REQUEST ARTIFACT_DIR
set -u
tenarai=$1 xclose=$2 artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session
mkdir -p "$work/practice"
cd "$work/practice"
title='名前は決まっていません'
journals="$XDG_STATE_HOME/tenarai"

start() { launch "$tenarai"; wid=$(main_window $pid "$title"); [ -n "$wid" ]; }
journal_file() { ls -d "$journals"/*/"$1" 2>/dev/null | head -1; }
has_journal_file() { [ -n "$(journal_file "$1")" ]; }
no_offer() { # the program shows its window and asks nothing
  ! wait_for 2 has_confirmation $pid
}

# 1. Three drawings and a fourth in progress, then SIGKILL right after its snapshot.
check "the program starts" start
for i in 0 1 2; do
  stroke $wid 100 $((120 + 150 * i)) 500 $((140 + 150 * i))
  click $wid 626 25
done
check "the third drawing reaches the journal" wait_for 10 has_journal_file drawing-000003.png
stroke $wid 300 300 300 650
check "the drawing in progress reaches the journal" wait_for 15 has_journal_file canvas-000004.png
mkdir -p "$work/expected"
cp "$(dirname "$(journal_file manifest.json)")"/drawing-*.png "$work/expected/"
kill -9 $pid; wait $pid 2>/dev/null

# 2. Started again: the offer, answered Yes with Enter; the drawing in progress is back.
check "the program starts again" start
check "the offer appears and Enter takes it" answer_box Return
check "the drawing in progress is back on the canvas" wait_for 10 screen_black $wid 300 500
check "beside it the canvas is white" screen_white $wid 320 500
shot $wid "$artifacts/recovered.png"
recovering=$pid recovering_wid=$wid

# 3. A second program beside it keeps its own journal and is offered nothing.
check "a second program starts" start
check "the second program is offered nothing" no_offer
stroke $wid 100 100 200 100
click $wid 626 25
two_journals() { [ "$(ls -d "$journals"/*/ | wc -l)" -eq 2 ]; }
check "the second program journals on its own" wait_for 10 two_journals
kill -9 $pid; wait $pid 2>/dev/null
pid=$recovering wid=$recovering_wid

# 4. The save: four cells, the first three exactly the journalled drawings with their stamps.
click $wid 40 25
sheets_at_least() { [ "$(count_files result/*.png)" -ge "$1" ]; }
check "the save writes a sheet" wait_for 20 sheets_at_least 1
sheet=$(ls result/*.png | head -1)
check "pngcheck reads the sheet" pngcheck -q "$sheet"
for n in 1 2 3; do
  x=$((512 * (n - 1)))
  same=$(differing "$sheet" "$work/expected/drawing-00000$n.png" 511x511+$((x + 1))+1 511x511+1+1)
  check "cell $n is drawing $n as journalled (differing pixels: $same)" [ "$same" = "0" ]
done
check "cell 4 holds the drawing that was in progress" [ "$(darkest "$sheet" "500x400+$((512 * 3 + 6))+100")" -lt 200 ]
check "cell 5 is empty" [ "$(darkest "$sheet" "500x500+$((512 * 4 + 6))+6")" -eq 255 ]

# 5. A clean close: the next start asks nothing (the second program's journal is offered then).
"$xclose" $wid
check "the quit question appears and is answered Yes" answer_box shift+Tab space
check "the program ends" wait_for 20 gone $pid
check "the killed second program's practice is offered" start
check "it is taken with Enter" answer_box Return
kill -9 $pid; wait $pid 2>/dev/null
check "offered again while unsaved" start
check "and thrown away with No" answer_box Escape
"$xclose" $wid
check "the quit question is answered Yes" answer_box shift+Tab space
check "the program ends" wait_for 20 gone $pid
check "after a clean end the next start" start
check "asks nothing" no_offer
kill -9 $pid; wait $pid 2>/dev/null

# 6. SIGKILL while a save runs: whatever the moment, nothing drawn is lost.
rm -rf result
check "the program starts for the killed save" start
no_offer
for i in 0 1; do
  stroke $wid 100 $((200 + 200 * i)) 500 $((220 + 200 * i))
  click $wid 626 25
done
wait_for 10 has_journal_file drawing-000002.png
click $wid 40 25
sleep 0.05
kill -9 $pid; wait $pid 2>/dev/null
for s in result/*.png; do [ -e "$s" ] && check "a sheet of the killed save is whole" pngcheck -q "$s"; done
check "started after the killed save" start
if wait_for 3 has_confirmation $pid; then
  answer_box Return
  click $wid 40 25
fi
check "the two drawings are on a sheet" wait_for 20 sheets_at_least 1
last=$(ls result/*.png | tail -1)
check "both cells hold a drawing" [ "$(darkest "$last" "500x440+6+60")" -lt 200 -a "$(darkest "$last" "500x440+518+60")" -lt 200 ]
kill -9 $pid 2>/dev/null

finish
