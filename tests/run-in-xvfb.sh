#!/usr/bin/env bash
# Runs a command against a private Xvfb server of its own, stopped afterwards. Xvfb picks a free
# display number itself (-displayfd), so another X server on the machine is never driven by
# mistake; if it cannot start, this says so and fails.
set -u
command -v Xvfb >/dev/null || { echo "run-in-xvfb: Xvfb is not installed" >&2; exit 1; }
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$fifo"' EXIT
number=""
# Xvfb writes its display number once it is ready to take clients.
read -r -t 30 number <"$fifo" || true
if [ -z "$number" ] || ! kill -0 $xvfb 2>/dev/null; then
  echo "run-in-xvfb: Xvfb did not start" >&2
  exit 1
fi
DISPLAY=":$number" "$@"
