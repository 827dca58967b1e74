#!/usr/bin/env bash
# Installs what is missing, builds Tenarai and starts it. Sheets go to result/ below the
# folder this is started from.
set -euo pipefail
here="$(pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Tenarai needs a graphical desktop, and no display was found (DISPLAY is not set)." >&2
  echo "Start it from a desktop session, or under Xvfb: xvfb-run $root/build/app/tenarai" >&2
  exit 1
fi
cd "$here"
exec "$root/build/app/tenarai"
