#!/usr/bin/env bash
# lupdate, run over the source as it is, finds every text already in the translation file:
# nothing new to translate, nothing gone that the file still carries.
set -euo pipefail
root="$1"
lupdate="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root/translations/tenarai_en.ts" "$work/tenarai_en.ts"
cd "$root"
"$lupdate" -I . -locations none -source-language ja -target-language en \
  app dialogs practice export journal references review history raster -ts "$work/tenarai_en.ts" > "$work/log" 2>&1
cat "$work/log" | grep -v '^Scanning' || true
if grep -q 'type="unfinished"\|type="vanished"\|type="obsolete"' "$work/tenarai_en.ts"; then
  echo "The translation file is behind the source; run: cmake --build build --target update_translations" >&2
  grep -B3 'type="unfinished"\|type="vanished"\|type="obsolete"' "$work/tenarai_en.ts" | grep '<source>' >&2 || true
  exit 1
fi
if grep -q 'tr() cannot be called without context\|Qualifying with unknown' "$work/log"; then
  echo "lupdate cannot place some texts in their context" >&2
  exit 1
fi
