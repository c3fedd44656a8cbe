#!/usr/bin/env bash
# Installs the build into a folder of its own and checks that the tree holds
# what the desktop, the manual and Debian look for, and nothing else.
# Usage: check_install_tree.sh CMAKE BUILD_DIR INSTALL_DIR VERSION WITH_CLI(0|1)
set -euo pipefail
cmake=$1 build=$2 root=$3 version=$4 with_cli=$5

rm -rf "$root"
"$cmake" --install "$build" --prefix "$root" >/dev/null
cd "$root"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

programs=(tavek tavek-virtual-modem)
[ "$with_cli" = 1 ] && programs+=(tavek-cli)
sizes=(16 22 24 32 48 64 128 256)
app_id=io.github.tavek.Tavek

# Exactly these files: a missing one breaks the menu, the icon or the manual;
# an extra one (a test program, a static library) would ship in the package.
expected=(
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    share/icons/hicolor/scalable/apps/tavek.svg
    share/doc/tavek/README.md
    share/doc/tavek/copyright
    share/doc/tavek/changelog.gz
    share/doc/tavek/99-tavek-modemmanager.rules.example
    share/doc/tavek/configuration-file.md
    share/doc/tavek/example.tavek
)
for p in "${programs[@]}"; do expected+=("bin/$p" "share/man/man1/$p.1.gz"); done
[ "$with_cli" = 1 ] && expected+=(
    share/bash-completion/completions/tavek-cli
    share/zsh/vendor-completions/_tavek-cli
    share/fish/vendor_completions.d/tavek-cli.fish
)
for s in "${sizes[@]}"; do expected+=("share/icons/hicolor/${s}x${s}/apps/tavek.png"); done
difference=$(diff <(printf '%s\n' "${expected[@]}" | sort) <(find . -type f -printf '%P\n' | sort) || true)
[ -z "$difference" ] || fail "the installed files differ from the expected ones (< missing, > unexpected):
$difference"

# Programs: runnable, each with a manual page that man can read.
for p in "${programs[@]}"; do
    [ -x "bin/$p" ] || fail "bin/$p is not executable"
    page=share/man/man1/$p.1.gz
    [ -f "$page" ] || continue
    gzip -t "$page" 2>/dev/null || fail "$page is not gzip"
    title=$(echo "$p" | tr a-z- A-Z_ | sed 's/_/\\-/g') # tavek-cli: TAVEK\-CLI
    gzip -dc "$page" | grep -qF ".TH $title 1 " || fail "$page has no .TH line for $p in section 1"
done

# Icons: each PNG as large as the folder it is in says (IHDR width and height).
for s in "${sizes[@]}"; do
    png=share/icons/hicolor/${s}x${s}/apps/tavek.png
    [ -f "$png" ] || continue
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    w=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    h=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$w" = "$s" ] && [ "$h" = "$s" ] || fail "$png is ${w}x${h}"
done

# The menu entry starts an installed program and names the installed icon.
desktop=share/applications/$app_id.desktop
if [ -f "$desktop" ]; then
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -n "$exec_program" ] && [ -x "bin/$exec_program" ] || fail "Exec=$exec_program is no installed program"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not in the hicolor theme"
fi

# The metainfo and the package's changelog: their newest release is the
# version the programs are built as. The metainfo is named after its id,
# points at the menu entry, has the entry's categories and names every
# installed program.
metainfo=share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
    grep -q "<id>$app_id</id>" "$metainfo" || fail "$metainfo does not carry the id $app_id"
    launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    [ -f "share/applications/$launchable" ] || fail "launchable $launchable is not installed"
    categories=$(sed -n 's:.*<category>\(.*\)</category>.*:\1;:p' "$metainfo" | sort | tr -d '\n')
    in_desktop=$(sed -n 's/^Categories=//p' "$desktop" | tr ';' '\n' | sed '/^$/d; s/$/;/' | sort | tr -d '\n')
    [ "$categories" = "$in_desktop" ] ||
        fail "metainfo categories $categories differ from the desktop entry's $in_desktop"
    provided=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo" | sort | tr '\n' ' ')
    installed=$(find bin -type f -printf '%f\n' | sort | tr '\n' ' ')
    [ "$provided" = "$installed" ] || fail "metainfo provides binaries $provided, installed are $installed"
    newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n1)
    [ "$newest" = "$version" ] || fail "newest release in $metainfo is $newest, the project is $version"
fi
changelog=share/doc/tavek/changelog.gz
if [ -f "$changelog" ]; then
    newest=$(gzip -dc "$changelog" | sed -n '1s/^tavek (\([^)]*\)).*/\1/p')
    [ "$newest" = "$version" ] || fail "newest release in $changelog is '$newest', the project is $version"
fi

# The udev example: every rule that hides a device from ModemManager names
# one kind of adapter by vendor and product; a rule without them would hide
# every serial device.
rules=share/doc/tavek/99-tavek-modemmanager.rules.example
if [ -f "$rules" ]; then
    ignoring=$(grep -v '^[[:space:]]*#' "$rules" | grep 'ID_MM_DEVICE_IGNORE' || true)
    [ -n "$ignoring" ] || fail "$rules has no rule"
    while IFS= read -r rule; do
        [[ $rule == *'ATTRS{idVendor}=="'????'"'* && $rule == *'ATTRS{idProduct}=="'????'"'* ]] ||
            fail "rule does not name one adapter: $rule"
    done <<<"$ignoring"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed in $root"
    exit 1
fi
echo "install tree in $root: ${#expected[@]} files as expected"
