#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree as the desktop and
# a user would meet it.
#   install_check.sh BUILD_DIR VERSION
set -u
build=$1 version=$2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/x_lib.sh"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
id=io.github.tenarai.Tenarai

check "cmake --install works" cmake --install "$build" --prefix "$prefix"
desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
check "the desktop file is installed" test -f "$desktop"
check "the metainfo is installed" test -f "$metainfo"
out=$(desktop-file-validate "$desktop" 2>&1); rc=$?
# One main category, Graphics, with additional ones of its own: no hint of two main ones.
check "desktop-file-validate passes ($out)" [ $rc -eq 0 ]
check "with no errors or warnings" not grep -qE 'error:|warning:' <<<"$out"
check "and no hint of more than one main category" not grep -q 'main categor' <<<"$out"
out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1); rc=$?
check "appstreamcli validate passes ($out)" [ $rc -eq 0 ]
check "with no warnings" not grep -qE '^[EW]:' <<<"$out"
icon=$(sed -n 's/^Icon=//p' "$desktop")
check "the icon the desktop file names is installed as SVG" test -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg"
check "and as a 256 x 256 PNG" [ "$(identify -format '%w %h' "$prefix/share/icons/hicolor/256x256/apps/$icon.png" 2>/dev/null)" = "256 256" ]
check "the manual page is installed" test -f "$prefix/share/man/man1/tenarai.1.gz"
check "the manual page reads" bash -c "zcat '$prefix/share/man/man1/tenarai.1.gz' | grep -q 'result.*dir'"

bin="$prefix/bin/tenarai"
# No display: a program that tried to open a window would fail, not exit 0 or 2.
export -n DISPLAY WAYLAND_DISPLAY; unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
check "--version prints the project's version" [ "$("$bin" --version)" = "tenarai $version" ]
help=$("$bin" --help); rc=$?
check "--help exits 0" [ $rc -eq 0 ]
for option in --help --version --plan --references --result-dir --export-history; do
  check "--help lists $option" grep -q -- "$option" <<<"$help"
done
err=$("$bin" --no-such-option 2>&1 >/dev/null); rc=$?
check "a bad option exits 2 (got $rc)" [ $rc -eq 2 ]
check "with a message ($err)" grep -q "知らないオプションです: --no-such-option" <<<"$err"
err=$("$bin" --plan 0x30s 2>&1 >/dev/null); rc=$?
check "a bad value exits 2 (got $rc)" [ $rc -eq 2 ]
check "naming what is wrong ($err)" grep -q "「0x30s」" <<<"$err"
err=$("$bin" --result-dir "$prefix/bin/tenarai/sheets" 2>&1 >/dev/null); rc=$?
check "a result folder below a file exits 2 (got $rc)" [ $rc -eq 2 ]
check "saying so ($err)" grep -q "フォルダーになれません" <<<"$err"
err=$("$bin" --references /no/such/folder 2>&1 >/dev/null); rc=$?
check "a missing reference folder exits 2 (got $rc)" [ $rc -eq 2 ]

# No display at all, or one that never answers: a message and exit 1, never a core dump.
err=$("$bin" 2>&1 >/dev/null); rc=$?
check "without a display it exits 1 (got $rc)" [ $rc -eq 1 ]
check "saying so ($err)" grep -q "ディスプレイに接続できません。" <<<"$err"
err=$(DISPLAY=:97 "$bin" 2>&1 >/dev/null); rc=$?
check "with a display that is not there it exits 1 (got $rc)" [ $rc -eq 1 ]

# The record written as CSV without a window: an empty record is its header alone.
data=$(mktemp -d); trap 'rm -rf "$prefix" "$data"' EXIT
XDG_DATA_HOME=$data "$bin" --export-history "$data/out.csv"; rc=$?
check "--export-history exits 0 without a display (got $rc)" [ $rc -eq 0 ]
check "and writes the header" grep -q '^practice_id,started_utc,saved_utc' "$data/out.csv"
err=$(XDG_DATA_HOME=$data "$bin" --export-history /no/such/folder/out.csv 2>&1 >/dev/null); rc=$?
check "a file it cannot write exits 1 (got $rc)" [ $rc -eq 1 ]
check "with a message ($err)" grep -q "練習の記録を書き出せませんでした" <<<"$err"

finish
