#!/usr/bin/env bash
# The shell completions of tavek-cli: bash's function asked as bash asks it,
# in a home and a folder of its own; zsh's and fish's files read for syntax
# where those shells are installed.
# Usage: check_completion.sh COMPLETION_FOLDER
set -euo pipefail
export LC_ALL=C # the order the expected completions are written in
folder=$(cd "$1" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/tavek/ports" "$work/files/sites"
ln -s /dev/null "$work/config/tavek/ports/com3"
ln -s /dev/gone-adapter "$work/config/tavek/ports/com12" # unplugged: still a Com number
touch "$work/config/tavek/ports/com4" "$work/config/tavek/ports/com7.bak"
touch "$work/files/shop.tavek" "$work/files/notes.txt"
export XDG_CONFIG_HOME=$work/config
cd "$work/files"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# shellcheck source=/dev/null
source "$folder/tavek-cli.bash"
# The completions for a command line, the word under the cursor last, sorted.
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _tavek_cli
    if [ ${#COMPREPLY[@]} -gt 0 ]; then printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '; fi
}

# The serial devices that happen to exist sort before the Com numbers.
devices=$(for d in /dev/ttyUSB* /dev/ttyACM* /dev/ttyS*; do [ -e "$d" ] && echo "$d"; done | sort | tr '\n' ' ' || true)
# Command line (the last word is the one being completed) | expected completions.
cases=(
    "tavek-cli ''|backups check clear factory-defaults ports read relay verify write "
    "tavek-cli --port com3 ''|backups check clear factory-defaults ports read relay verify write "
    "tavek-cli -p com3 w|write "
    "tavek-cli --no|--no-backup --no-verify "
    "tavek-cli clear --y|--yes "
    "tavek-cli -p ''|${devices}com12 com3 "
    "tavek-cli --port com1|com12 "
    "tavek-cli --port =|${devices}com12 com3 "
    "tavek-cli --port = c|com12 com3 "
    "tavek-cli relay ''|off on "
    "tavek-cli -v relay o|off on "
    "tavek-cli relay on ''|"
    "tavek-cli write ''|- shop.tavek sites "
    "tavek-cli -p com3 verify s|shop.tavek sites "
    "tavek-cli read -|- --all-ports --help --json --no-backup --no-verify --port --quiet --verbose --version --yes "
    "tavek-cli write shop.tavek ''|"
    "tavek-cli check ''|"
)
for case in "${cases[@]}"; do
    line=${case%%|*} expected=${case#*|}
    eval "words=($line)"
    got=$(complete_words "${words[@]}")
    [ "$got" = "$expected" ] || fail "bash, $line: expected '$expected', got '$got'"
done
complete -p tavek-cli | grep -q -- '-F _tavek_cli' || fail "bash: tavek-cli is not bound to _tavek_cli"

if command -v zsh >/dev/null; then
    zsh -n "$folder/_tavek-cli" || fail "zsh -n _tavek-cli"
else
    echo "zsh is not installed: _tavek-cli not checked"
fi
if command -v fish >/dev/null; then
    fish --no-execute "$folder/tavek-cli.fish" || fail "fish --no-execute tavek-cli.fish"
else
    echo "fish is not installed: tavek-cli.fish not checked"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures completion check(s) failed"
    exit 1
fi
echo "completions: ${#cases[@]} bash cases as expected"
