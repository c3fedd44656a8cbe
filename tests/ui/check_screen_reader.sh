#!/usr/bin/env bash
# The main window as a screen reader reads it: on an X server of its own
# (Xvfb), with a session bus and an AT-SPI bus of its own, the window's
# accessibility on as it is where a screen reader runs, read by an AT-SPI
# client (read_as_screen_reader.py). Skips, with what to install, where the
# Debian packages for that are missing (scripts/setup-debian.sh installs them).
# Usage: check_screen_reader.sh WINDOW_PROGRAM
set -uo pipefail
window=$1
here=$(cd "${0%/*}" && pwd)

missing=()
command -v xvfb-run >/dev/null || missing+=(xvfb)
command -v xauth >/dev/null || missing+=(xauth) # xvfb-run hands Xvfb a cookie with it
command -v dbus-run-session >/dev/null || missing+=(dbus-daemon)
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
# Debian's python3-gi is built for Debian's own Python, whatever else is on the PATH.
/usr/bin/python3 -c 'import gi' 2>/dev/null || missing+=(python3-gi)
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
    missing+=(gir1.2-atspi-2.0)
if [ ${#missing[@]} -ne 0 ]; then
    echo "SKIP: reading the window through AT-SPI needs the Debian packages: ${missing[*]}"
    echo "      (scripts/setup-debian.sh installs them)"
    exit 77
fi

# A desktop's own accessibility bus must not be the one read here.
exec env -u AT_SPI_BUS_ADDRESS -u DBUS_SESSION_BUS_ADDRESS \
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    dbus-run-session -- /usr/bin/python3 "$here/read_as_screen_reader.py" "$window"
