#!/usr/bin/env bash
# Installs the Debian 12 packages that Tavek builds and tests with, where they are missing.
# Usage: scripts/setup-debian.sh [--screenshots]
set -euo pipefail

packages=(cmake g++ make pkgconf qt6-base-dev qt6-serialport-dev qt6-svg-dev fonts-dejavu-core
          qt6-base-private-dev # the accessibility test switches Qt's accessibility on
          dpkg-dev file # cpack makes the Debian package with these two
          zsh fish) # the completion test reads tavek-cli's completions with these shells
# With --screenshots, what docs/take-screenshots.sh needs as well: Xvfb, ImageMagick's import to
# take the windows, xdotool to find them, the narrow font the layout was drawn for, and qt6ct for
# the dark palette.
if [ "${1:-}" = "--screenshots" ]; then
    packages+=(xvfb imagemagick xdotool fonts-liberation qt6ct)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
