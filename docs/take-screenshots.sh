#!/bin/bash
# Takes docs/main-window.png, docs/about-window.png, docs/traffic-window.png
# and docs/ports-dialog.png: Tavek under Xvfb, connected to the virtual modem
# as "Com 1", its panels filled; then the modem traffic of that connect and a
# relay command, and the serial ports with the modem and an adapter whose
# link is there but which is not plugged in.
# Usage: docs/take-screenshots.sh [build directory]   (needs xvfb-run and ImageMagick)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)

if [ -z "${TAVEK_IN_XVFB:-}" ]; then
    TAVEK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi

# A home and ports folder of its own, so the user's links stay as they are.
export HOME=$(mktemp -d) XDG_CONFIG_HOME=
trap 'kill $tavek $modem 2>/dev/null || true; rm -rf "$HOME"' EXIT

mkdir -p "$HOME/.config/tavek/ports"
ln -s /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1234567-if00-port0 "$HOME/.config/tavek/ports/com2"
# Bytes handed over in the bursts of an FTDI adapter's 16 ms latency timer.
"$build/tools/tavek-virtual-modem" --usb-latency 16 1 >/dev/null &
modem=$!
sleep 0.5
"$build/app/tavek" &
tavek=$!
sleep 2.5

# Without a window manager the windows sit where Tavek centres them.
main_x=$(((1280 - 976) / 2)); main_y=$(((800 - 594) / 2))
click() { python3 "$here/xclick.py" $((main_x + $1)) $((main_y + $2)); }
# A window of Tavek's by its title, as it is on the screen.
shoot() { import -window "$(xdotool search --name "^$1\$" | head -1)" "$2"; }

click 22 22      # Connection
sleep 3.5
click 850 130    # choose phone row 1
sleep 0.5
import -window root -crop 976x594+${main_x}+${main_y} +repage "$here/main-window.png"

click 448 22     # About Tavek
sleep 1
# Centred over the main window as QRect::center() counts.
about_x=$((main_x + (976 - 1) / 2 - 572 / 2)); about_y=$((main_y + (594 - 1) / 2 - 372 / 2))
import -window root -crop 572x372+${about_x}+${about_y} +repage "$here/about-window.png"
python3 "$here/xclick.py" $((about_x + 535)) $((about_y + 335))   # its Exit
sleep 0.5

click 285 22     # Set reley on
sleep 1
click 22 22      # Disconnect: numbers are given while no modem is connected
sleep 1
click 407 22     # Serial ports
sleep 1
shoot "Serial ports" "$here/ports-dialog.png"
xdotool key Escape
sleep 0.5
click 366 22     # Modem traffic: the connect, its reads, the relay command
sleep 1
shoot "Modem traffic" "$here/traffic-window.png"
