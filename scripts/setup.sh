#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Tenarai need.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
  cmake g++ make pkgconf
  qt6-base-dev qt6-qpa-plugins qt6-multimedia-dev libpng-dev zlib1g-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils libx11-dev
  fonts-noto-cjk pngcheck imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
