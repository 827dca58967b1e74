#!/usr/bin/env bash
# Installs what is missing, builds Tenarai and runs every test, the real-window ones under a
# private Xvfb server.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
ctest --output-on-failure -j2
