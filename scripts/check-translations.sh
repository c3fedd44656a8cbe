#!/usr/bin/env bash
# Fails when a translation is behind the sources: lupdate, run over the sources
# into a copy of each translations/tavek_*.ts, must find no text without a
# translation (new, or marked unfinished) and none that the sources no longer
# hold (obsolete, vanished). The .ts files themselves are left as they are;
# update one with `cmake --build build --target update_translations`.
# Usage: scripts/check-translations.sh [LUPDATE]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
# Qt 6's own: a "lupdate" on the PATH may be Qt 5's (Debian's qtchooser).
lupdate="${1:-/usr/lib/qt6/bin/lupdate}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

failed=0
for ts in "$top"/translations/tavek_*.ts; do
    name="$(basename "$ts")"
    cp "$ts" "$work/$name"
    # The same options as the update_translations target (translations/CMakeLists.txt).
    (cd "$top" && "$lupdate" -locations none -silent app cli config link ui -ts "$work/$name")
    # A message's translation line, with the source text two lines before it.
    behind="$(grep -B2 -E '<translation[^>]*type="(unfinished|obsolete|vanished)"' "$work/$name" |
              grep -E '<source>|type=' || true)"
    if [ -n "$behind" ]; then
        echo "$name: texts without a finished translation, or no longer in the sources:"
        echo "$behind"
        failed=1
    fi
    if ! diff -u "$ts" "$work/$name" >"$work/diff"; then
        echo "$name: lupdate would change it (run the update_translations target, then translate):"
        cat "$work/diff"
        failed=1
    fi
done
[ "$failed" -eq 0 ] && echo "Every translation is complete and current."
exit "$failed"
