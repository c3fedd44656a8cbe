#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it the way Debian
# and a user's machine meet it: lintian finds no error, every program has the
# distribution's hardening, the menu entry, metainfo and manual pages
# validate, the package holds no maintainer scripts, it installs with
# apt-get, the installed /usr/bin/tavek opens its main window (with its icon)
# on a display of its own, and the package removes cleanly. Installing and
# removing happen also when a step fails; the checking tools it installs
# stay, like setup-debian.sh's.
# Usage: scripts/check-package.sh
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
desktop_entry=io.github.tavek.Tavek.desktop

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

began=$(date +%s%N)
last=$began
# Each step's time and the total so far, in seconds.
step() {
    local now
    now=$(date +%s%N)
    printf '[%6.1f s, +%5.1f s] %s\n' "$(((now - began) / 1000000))e-3" "$(((now - last) / 1000000))e-3" "$*"
    last=$now
}
die() {
    echo "check-package: $*" >&2
    exit 1
}

# apt-get, quiet unless it fails.
apt_get() {
    local log
    log=$($sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@" 2>&1) || {
        echo "$log" >&2
        return 1
    }
}
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

# Installing and removing tavek is this check's business only where no tavek
# is installed already: it would otherwise take away the user's copy.
installed tavek && die "a tavek package is installed on this machine; remove it first (apt-get remove tavek)"

tools=(desktop-file-utils appstream xvfb xdotool x11-utils dpkg-dev man-db groff-base lintian
       devscripts) # hardening-check
missing=()
for p in "${tools[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt_get update
    apt_get install --no-install-recommends "${missing[@]}"
fi
"$top/scripts/setup-debian.sh"
step "tools in place"

work=$(mktemp -d)
chmod 755 "$work" # apt's unprivileged fetcher reads the package from here
tavek_pid="" xvfb_pid="" package_installed=""
cleanup() {
    local status=$?
    [ -n "$tavek_pid" ] && kill "$tavek_pid" 2>/dev/null && wait "$tavek_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    if [ -n "$package_installed" ]; then
        apt_get remove tavek || echo "check-package: removing tavek failed" >&2
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$top/scripts/package.sh" >"$work/package.log" 2>&1 || {
    cat "$work/package.log"
    die "scripts/package.sh failed"
}
debs=("$top"/build-package/tavek_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "scripts/package.sh made no single tavek_*.deb"
deb=$work/$(basename "${debs[0]}")
cp "${debs[0]}" "$deb"
step "built and packaged $(basename "$deb")"

# Debian's own judgement of the package; the README says why each warning
# that remains is there.
lintian --fail-on error --tag-display-limit 0 "$deb" || die "lintian reports errors in the package"
step "lintian: no errors"

# What the package holds, checked before anything is installed.
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -e "$deb" "$work/control"
extra_control=$(cd "$work/control" && ls | grep -vx -e control -e md5sums || true)
[ -z "$extra_control" ] || die "the package has maintainer scripts: $extra_control"
# The distribution's hardening in every program. _FORTIFY_SOURCE can only
# guard a call whose buffer size the compiler knows; a program with no such
# call (tavek-cli: only memcpy and memmove of run-time sizes) shows none, so
# it is required of the package as a whole. Control-flow protection is not
# among Debian 12's flags.
hardening=$(hardening-check --nocfprotection --nofortify "$work"/root/usr/bin/*) ||
    die "hardening-check: $hardening"
fortified=$(hardening-check --nocfprotection "$work"/root/usr/bin/* | grep -c 'some protected functions found' || true)
[ "$fortified" -gt 0 ] || die "hardening-check: no program has a function protected by _FORTIFY_SOURCE"
echo "hardening-check: PIE, stack protector, RELRO, BIND_NOW in every program; $fortified with fortified calls"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"

# Qt loads its platform and SVG plugins at run time, which dpkg-shlibdeps
# cannot see: the packages that hold them must be among the dependencies.
for plugin in platforms/libqxcb.so iconengines/libqsvgicon.so imageformats/libqsvg.so; do
    owner=$(dpkg -S "*/qt6/plugins/$plugin")
    owner=${owner%%:*}
    [[ ", $depends," == *", $owner "* || ", $depends," == *", $owner,"* ]] ||
        die "the Qt plugin $plugin comes with $owner, which the package does not depend on"
done

validation=$(desktop-file-validate "$work/root/usr/share/applications/$desktop_entry" 2>&1) ||
    die "desktop-file-validate: $validation"
[ -z "$validation" ] || die "desktop-file-validate: $validation"
echo "desktop-file-validate $desktop_entry: no remarks"
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml ||
    die "appstreamcli validate failed"
# The same with the menu entry beside it, as software centres read them.
tree=$(appstreamcli validate-tree --no-net "$work/root" 2>&1) || die "appstreamcli validate-tree: $tree"
for page in "$work"/root/usr/share/man/man1/*.1.gz; do
    remarks=$(gzip -dc "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$remarks" ] || die "$(basename "$page"): $remarks"
done
echo "groff -man -ww: no warnings in $(cd "$work/root/usr/share/man/man1" && echo *.1.gz)"
step "validated"

package_installed=1
apt_get install "$deb"
installed tavek || die "apt-get did not install tavek"
step "installed"

[ -f "/usr/share/applications/$desktop_entry" ] || die "no /usr/share/applications/$desktop_entry"
icons=(/usr/share/icons/hicolor/scalable/apps/tavek.svg)
for size in 16 22 24 32 48 64 128 256; do icons+=("/usr/share/icons/hicolor/${size}x$size/apps/tavek.png"); done
for icon in "${icons[@]}"; do [ -f "$icon" ] || die "no $icon"; done
# Whole outputs are taken before matching: grep -q ending a pipe early would
# fail it under pipefail.
page=$(MANPAGER=cat MANWIDTH=80 man tavek 2>/dev/null || true)
[[ $page == *"configure KVZ GSM alarm modems"* ]] || die "man tavek shows no page"
/usr/bin/tavek-virtual-modem --help >/dev/null || die "the installed tavek-virtual-modem does not start"
/usr/bin/tavek-cli --help >/dev/null || die "the installed tavek-cli does not start"
# No display is needed for these.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/tavek --version) || die "tavek --version failed"
[[ $version == "tavek "* ]] || die "tavek --version said: $version"

# The installed program on a display of its own, with a home of its own so
# nothing of the user's is read or left behind.
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 50); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || die "Xvfb did not start: $(cat "$work/xvfb.log")"
display=":$(head -n1 "$work/display")"

started=$(date +%s%N)
env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" DISPLAY="$display" \
    /usr/bin/tavek >"$work/tavek.log" 2>&1 &
tavek_pid=$!
# The splash comes first and has no title; the main window follows at 1.8 s.
window=$(DISPLAY="$display" timeout 5 xdotool search --sync --onlyvisible --name '^Tavek$') || true
window=${window%%$'\n'*}
shown=$(date +%s%N)
[ -n "$window" ] || die "no window named Tavek within 5 s; tavek said: $(cat "$work/tavek.log")"
kill -0 "$tavek_pid" 2>/dev/null || die "tavek ended: $(cat "$work/tavek.log")"
echo "main window $window after $(((shown - started) / 1000000)) ms"

# The window icon comes from the SVG emblem through Qt's SVG plugins.
wm_icon=$(DISPLAY="$display" xprop -id "$window" _NET_WM_ICON)
[[ $wm_icon == *"Icon ("* ]] || die "the main window has no icon: Qt could not draw the SVG emblem"
# Desktops match the window to its menu entry by its class.
wm_class=$(DISPLAY="$display" xprop -id "$window" WM_CLASS)
wanted=$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$desktop_entry")
[[ $wm_class == *"\"$wanted\""* ]] || die "StartupWMClass=$wanted, but the window says $wm_class"
step "the installed tavek shows its main window"

kill "$tavek_pid"
wait "$tavek_pid" 2>/dev/null || true
tavek_pid=""
kill "$xvfb_pid"
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""
apt_get remove tavek
package_installed=""
state=$(dpkg-query -W -f='${db:Status-Abbrev}' tavek 2>/dev/null || true)
[[ -z $state || $state == un* ]] || die "tavek left in dpkg state '$state'"
[ ! -e /usr/bin/tavek ] && [ ! -e "/usr/share/applications/$desktop_entry" ] || die "files of tavek left behind"
step "removed"
echo "check-package: passed"
