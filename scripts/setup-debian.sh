#!/usr/bin/env bash
# Installs the Debian 12 packages that Tavek builds and tests with, where they are missing.
# Usage: scripts/setup-debian.sh [--screenshots]
set -euo pipefail

packages=(cmake g++ make pkgconf qt6-base-dev qt6-serialport-dev qt6-svg-dev fonts-dejavu-core
          # The translations: Qt's LinguistTools for CMake (qt6-tools-dev, qt6-tools-dev-tools),
          # lupdate and lrelease (qt6-l10n-tools), and Qt's own texts in other languages
          # (qt6-translations-l10n), so that message boxes' standard buttons follow the window.
          qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n
          qt6-base-private-dev # the accessibility test switches Qt's accessibility on
          dpkg-dev file # cpack makes the Debian package with these two
          zsh fish # the completion test reads tavek-cli's completions with these shells
          # The screen-reader test reads the window as Orca does, through AT-SPI: on an X server
          # of its own (xvfb, xauth), with a session bus and the accessibility bus (dbus-daemon,
          # at-spi2-core), as a Python AT-SPI client (python3-gi, gir1.2-atspi-2.0).
          xvfb xauth dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0)
# With --screenshots, what docs/take-screenshots.sh needs as well: ImageMagick's import to take
# the windows (on Xvfb, above), xdotool to find them, the narrow font the layout was drawn for,
# and qt6ct for the dark palette.
if [ "${1:-}" = "--screenshots" ]; then
    packages+=(imagemagick xdotool fonts-liberation qt6ct)
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
