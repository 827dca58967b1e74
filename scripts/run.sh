#!/usr/bin/env bash
# Installs what is missing, builds Tenarai and starts it. Sheets go to result/ below the
# folder this is started from.
set -euo pipefail
here="$(pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Tenarai needs a graphical desktop, and no display was found (DISPLAY is not set)." >&2
  echo "Start this from a desktop session. To try it without one: apt-get install xvfb, then" >&2
  echo "  xvfb-run bash $root/scripts/run.sh" >&2
  exit 1
fi
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j2 --target tenarai
cd "$here"
exec "$root/build/app/tenarai" "$@"
