#!/bin/bash
# Takes docs/main-window.png and docs/about-window.png: Tavek under Xvfb,
# connected to the virtual modem as "Com 1", its panels filled.
# Usage: docs/take-screenshots.sh [build directory]   (needs xvfb-run and ImageMagick)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)

if [ -z "${TAVEK_IN_XVFB:-}" ]; then
    TAVEK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi

# A ports folder of its own, so the user's links stay as they are.
export XDG_CONFIG_HOME=$(mktemp -d)
trap 'kill $tavek $modem 2>/dev/null || true; rm -rf "$XDG_CONFIG_HOME"' EXIT

"$build/tools/tavek-virtual-modem" 1 >/dev/null &
modem=$!
sleep 0.5
"$build/app/tavek" &
tavek=$!
sleep 2.5

# Without a window manager the windows sit where Tavek centres them.
main_x=$(((1280 - 976) / 2)); main_y=$(((800 - 594) / 2))
click() { python3 "$here/xclick.py" $((main_x + $1)) $((main_y + $2)); }

click 22 22      # Connection
sleep 3.5
click 850 130    # choose phone row 1
sleep 0.5
import -window root -crop 976x594+${main_x}+${main_y} +repage "$here/main-window.png"

click 448 22     # About Tavek, last on the toolbar
sleep 1
# Centred over the main window as QRect::center() counts.
about_x=$((main_x + (976 - 1) / 2 - 572 / 2)); about_y=$((main_y + (594 - 1) / 2 - 372 / 2))
import -window root -crop 572x372+${about_x}+${about_y} +repage "$here/about-window.png"
