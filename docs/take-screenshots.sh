#!/bin/bash
# Takes the README's screenshots of Tavek under Xvfb, connected to the virtual
# modem as "Com 1" (its bytes handed over in an FTDI adapter's 16 ms bursts):
#  - docs/main-window.png and docs/about-window.png;
#  - docs/traffic-window.png (the connect, its reads, a relay command) and
#    docs/ports-dialog.png (the modem and an adapter whose link is there but
#    which is not plugged in);
#  - the main window in Italian (docs/screen-italian.png);
#  - the box that a write the modem did not keep ends with
#    (docs/verification-box.png; TAVEK_ONLY=verification takes it alone);
#  - the main window in Fusion's light palette (docs/main-window-light.png)
#    and in a dark one (docs/main-window-dark.png), the way a desktop hands
#    Qt a dark palette: through the qt6ct platform theme, "darker" scheme;
#  - the whole screen, the main window connected on it, at three sizes and
#    scales (docs/screen-WxH-at-SCALE.png), each on an X server of its own:
#    1920x1080 at a scale of 2, 1366x768 at 1.25 with a 48 px panel at the
#    bottom, 1280x720 at 1. The panel is the desktop's work area
#    (_NET_WORKAREA, set by xworkarea.py as a window manager sets it), its
#    strip drawn in grey on the picture.
# Usage: docs/take-screenshots.sh [build directory]
# (needs xvfb-run, ImageMagick, xdotool, fonts-liberation for the narrow
# font the layout was drawn for and, for the dark one, qt6ct)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)

if [ -n "${TAVEK_ONLY:-}" ] && [ -z "${TAVEK_IN_XVFB:-}" ]; then
    TAVEK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi
if [ -z "${TAVEK_IN_XVFB:-}" ]; then
    # Size, scale, panel height. -noreset keeps the work area set between clients.
    for screen in "1920x1080 2 0" "1366x768 1.25 48" "1280x720 1 0"; do
        TAVEK_IN_XVFB=fit TAVEK_SCREEN=$screen \
            xvfb-run -a -s "-screen 0 ${screen%% *}x24 -noreset" "$0" "$build"
    done
    TAVEK_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build"
fi

# A home, ports folder and settings of their own, so the user's stay as they are.
export HOME=$(mktemp -d) XDG_CONFIG_HOME=
modem="" tavek=""
trap 'kill $tavek $modem 2>/dev/null || true; rm -rf "$HOME"' EXIT

mkdir -p "$HOME/.config/tavek/ports"
ln -s /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1234567-if00-port0 "$HOME/.config/tavek/ports/com2"
"$build/tools/tavek-virtual-modem" --usb-latency 16 1 >/dev/null &
modem=$!
sleep 0.5

# Without a window manager the windows sit where Tavek centres them.
main_x=$(((1280 - 976) / 2)); main_y=$(((800 - 594) / 2))
click() { python3 "$here/xclick.py" $((main_x + $1)) $((main_y + $2)); }
# A window of Tavek's by its title, as it is on the screen.
shoot() { import -window "$(xdotool search --name "^$1\$" | head -1)" "$2"; }
# The toolbar's buttons, from the left, at the height of their middle.
connection=22 relay_on=285 traffic=448 ports=489 about=530

# Starts Tavek with the environment given, connects, visits input 3's empty
# message boxes (leaving them shows the placeholder), chooses phone row 3 and
# takes the main window as docs/NAME.png. Tavek stays open.
main_window() {
    local name=$1
    shift
    env "$@" "$build/app/tavek" &
    tavek=$!
    sleep 2.5
    click $connection 22
    sleep 3.5
    click 610 408    # input 3, Message Single
    click 610 464    # input 3, Message Double
    click 850 130    # choose phone row 3
    sleep 0.5
    import -window root -crop 976x594+${main_x}+${main_y} +repage "$here/$name.png"
}
close_tavek() {
    kill "$tavek"
    wait "$tavek" 2>/dev/null || true
    tavek=""
}

# Starts Tavek on this screen at the scale given, with a panel of the height
# given at the bottom, connects, and takes the whole screen. Tavek places its
# window itself: the click finds it where it is.
fitted_window() {
    local width=$1 height=$2 scale=$3 panel=$4
    python3 "$here/xworkarea.py" 0 0 "$width" $((height - panel))
    QT_SCALE_FACTOR=$scale "$build/app/tavek" &
    tavek=$!
    sleep 2.5
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name '^Tavek$' | head -1)")"
    python3 "$here/xclick.py" $(awk "BEGIN { print int($X + 22 * $scale), int($Y + 22 * $scale) }")
    sleep 3.5
    local shot="$here/screen-${width}x${height}-at-$scale.png"
    import -window root "$shot"
    if [ "$panel" -gt 0 ]; then
        convert "$shot" -fill '#5a5a5a' \
            -draw "rectangle 0,$((height - panel)) $((width - 1)),$((height - 1))" \
            -font /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf \
            -fill white -pointsize 18 -gravity southwest \
            -annotate +12+$(((panel - 18) / 2)) "desktop panel, $panel px" "$shot"
    fi
    close_tavek
}

# A modem that keeps only 9 characters of each message: the read-back after
# the inputs' "Set" finds it, and says so in one box (docs/verification-box.png).
verification_box() {
    kill "$modem" 2>/dev/null || true
    wait "$modem" 2>/dev/null || true
    "$build/tools/tavek-virtual-modem" --usb-latency 16 --store-fault cut 1 >/dev/null &
    modem=$!
    sleep 0.5
    main_window verification-main
    rm -f "$here/verification-main.png"
    click 122 408    # input 1, Message Single
    xdotool key ctrl+a
    xdotool type --delay 20 "Fire in the warehouse"
    click 692 532    # the inputs' Set
    sleep 6
    shoot "Modem error" "$here/verification-box.png"
    xdotool key Return
    close_tavek
}
if [ "${TAVEK_ONLY:-}" = verification ]; then
    verification_box
    exit 0
fi


if [ "$TAVEK_IN_XVFB" = fit ]; then
    read -r size scale panel <<<"$TAVEK_SCREEN"
    fitted_window "${size%x*}" "${size#*x}" "$scale" "$panel"
    exit 0
fi

main_window main-window
click $about 22
sleep 1
# Centred over the main window as QRect::center() counts.
about_x=$((main_x + (976 - 1) / 2 - 572 / 2)); about_y=$((main_y + (594 - 1) / 2 - 372 / 2))
import -window root -crop 572x372+${about_x}+${about_y} +repage "$here/about-window.png"
python3 "$here/xclick.py" $((about_x + 535)) $((about_y + 335))   # its Exit
sleep 0.5

click $relay_on 22
sleep 1
click $connection 22  # disconnect: numbers are given while no modem is connected
sleep 1
click $ports 22
sleep 1
shoot "Serial ports" "$here/ports-dialog.png"
xdotool key Escape
sleep 0.5
click $traffic 22     # the connect, its reads, the relay command
sleep 1
shoot "Modem traffic" "$here/traffic-window.png"
close_tavek

main_window main-window-light QT_STYLE_OVERRIDE=Fusion
close_tavek

# In Italian, as the system's language picks it (README, Languages).
main_window screen-italian LANG=it_IT.UTF-8 LANGUAGE=it
close_tavek

verification_box

if [ ! -e /usr/share/qt6ct/colors/darker.conf ]; then
    echo "take-screenshots: no dark screenshot without qt6ct (apt-get install qt6ct)" >&2
    exit 1
fi
mkdir -p "$HOME/.config/qt6ct"
cat >"$HOME/.config/qt6ct/qt6ct.conf" <<'CONF'
[Appearance]
style=Fusion
custom_palette=true
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
CONF
main_window main-window-dark QT_QPA_PLATFORMTHEME=qt6ct
close_tavek
