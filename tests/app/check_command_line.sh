#!/usr/bin/env bash
# tavek's own command line, where no display can be had: with the xcb
# platform and no DISPLAY, anything that created the QApplication would
# abort. Usage: check_command_line.sh TAVEK VERSION
set -uo pipefail
tavek=$1 version=$2

failures=0
# expect EXIT-CODE STREAM(out|err) TEXT-AT-START ARGUMENTS...
expect() {
    local code=$1 stream=$2 start=$3
    shift 3
    local out err status
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$tavek" "$@" 2>/tmp/tavek-err.$$)
    status=$?
    err=$(cat /tmp/tavek-err.$$)
    rm -f /tmp/tavek-err.$$
    local shown=$out
    [ "$stream" = err ] && shown=$err
    if [ "$status" != "$code" ] || [[ $shown != "$start"* ]]; then
        echo "FAIL: tavek $* gave $status (wanted $code); std$stream: ${shown:0:200}"
        failures=$((failures + 1))
    fi
}

expect 0 out "Usage: tavek [options]" --help
expect 0 out "Usage: tavek [options]" -h
expect 0 out "tavek $version" --version
expect 0 out "tavek $version" -V
# Qt's own options pass; what follows them still counts.
expect 0 out "Usage: tavek [options]" -platform offscreen -style Fusion --help
expect 2 err "tavek: Unknown option 'colour'." --colour
expect 2 err "tavek: Unexpected argument 'shop.tavek'." shop.tavek
# In Italian where the system's language is Italian (the tests run in the C locale).
LC_ALL=it_IT.UTF-8 LANGUAGE=it expect 2 err "tavek: Argomento inatteso 'shop.tavek'." shop.tavek

[ "$failures" = 0 ] && echo "tavek's command line: as expected"
exit $((failures != 0))
