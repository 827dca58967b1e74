#!/usr/bin/env bash
# References in the real window: "--references DIR" opens the "参考画像" window with one of the
# folder's images; "Next" changes it; six drawings over six images show each once; the save
# writes "_1.png" and "_1_ref.png" with each reference in its drawing's cell.
#   x_references.sh TENARAI ARTIFACT_DIR
set -u
tenarai=$1 artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
mkdir -p "$artifacts"
private_session
mkdir -p "$work/refs/more" "$work/practice"

# Six images of six colours, of several shapes, one in a sub-folder, beside a file that is none.
colours=("255,0,0" "0,160,0" "0,0,255" "255,160,0" "160,0,160" "0,160,160")
sizes=("800x600" "600x800" "640x640" "1200x500" "300x300" "500x900")
for i in 0 1 2 3 4 5; do
  dest="$work/refs/$i.png"; [ $i -eq 5 ] && dest="$work/refs/more/$i.png"
  convert -size "${sizes[$i]}" "xc:rgb(${colours[$i]})" "$dest"
done
echo "not an image" > "$work/refs/notes.txt"
cd "$work/practice"

launch "$tenarai" --references "$work/refs"
wid=$(main_window $pid '名前は決まっていません')
[ -n "$wid" ] || { echo "FAIL: the window did not appear"; exit 1; }
ref=$(timeout 20 xdotool search --sync --all --onlyvisible --pid $pid --name '^参考画像$' | head -1)
check "the 参考画像 window opens" [ -n "$ref" ]
[ -n "$ref" ] || { finish; exit 1; }

centre() { # the colour at the centre of the reference window
  local f; f=$(mktemp --suffix=.png); shot "$ref" "$f"
  local g; g=$(identify -format '%w %h' "$f")
  pixel "$f" $(( ${g% *} / 2 )) $(( ${g#* } / 2 )); rm -f "$f"
}
is_colour() { local c=$1; shift; local x; for x in "$@"; do [ "$c" = "$x" ] && return 0; done; return 1; }
shows_an_image() { is_colour "$(centre)" "${colours[@]}"; }
changed_from() { local now; now=$(centre); [ "$now" != "$1" ] && is_colour "$now" "${colours[@]}"; }

check "it shows one of the folder's images" wait_for 10 shows_an_image
shot "$ref" "$artifacts/reference.png"
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowfocus --sync "$wid"

seen=()
for i in 0 1 2 3 4 5; do
  current=$(centre)
  seen+=("$current")
  stroke $wid 100 $((150 + 80 * i)) 500 $((170 + 80 * i))
  click $wid 626 25
  check "Next changes the reference after drawing $((i + 1))" wait_for 10 changed_from "$current"
done
distinct=$(printf '%s\n' "${seen[@]}" | sort -u | wc -l)
check "six drawings over six images show each once (${seen[*]})" [ "$distinct" -eq 6 ]

click $wid 40 25
sheets_written() { [ "$(count_files result/*_1.png)" -ge 1 ] && [ "$(count_files result/*_1_ref.png)" -ge 1 ]; }
check "the save writes _1.png and _1_ref.png" wait_for 20 sheets_written
sheet=$(ls result/*_1_ref.png 2>/dev/null | head -1)
if [ -n "$sheet" ]; then
  check "pngcheck reads the reference sheet" pngcheck -q "$sheet"
  check "the reference sheet is 4096 x 4096" [ "$(identify -format '%w %h' "$sheet")" = "4096 4096" ]
  for i in 0 1 2 3 4 5; do
    got=$(pixel "$sheet" $((512 * i + 256)) 256)
    check "reference cell $((i + 1)) holds drawing $((i + 1))'s reference (${seen[$i]}, got $got)" near "$got" "${seen[$i]}"
  done
  check "the seventh cell is white" [ "$(pixel "$sheet" $((512 * 6 + 256)) 256)" = "255,255,255" ]
fi

finish
