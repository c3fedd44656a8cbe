#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang-14, into build-fuzz)
# and runs each for the given seconds (default 60), two at a time, from the
# seed corpora in tests/fuzz/corpus. What a run finds beyond the seeds goes to
# a scratch folder, so the committed seeds stay few; a finding (a crash or a
# broken invariant) fails the script and leaves its input in the scratch folder.
# Usage: scripts/fuzz.sh [seconds] [target ...]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
seconds="${1:-60}"
shift || true

needed=(clang-14 libclang-rt-14-dev)
missing=()
for p in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
scripts/setup-debian.sh

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for corpus in tests/fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

scratch=$(mktemp -d)
run() {
    local target=$1 log="$scratch/$1.log"
    mkdir -p "$scratch/$target"
    if ./build-fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$scratch/$target-" "$scratch/$target" "tests/fuzz/corpus/$target" \
        >"$log" 2>&1; then
        printf '%-18s %s executions in %s s, no finding\n' "$target" \
            "$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")" "$seconds"
    else
        echo "$target: a finding; its input and log are in $scratch" >&2
        tail -30 "$log" >&2
        return 1
    fi
}
failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    run "${targets[i]}" &
    first=$!
    second=""
    if [ $((i + 1)) -lt ${#targets[@]} ]; then
        run "${targets[i + 1]}" &
        second=$!
    fi
    wait "$first" || failed=1
    [ -n "$second" ] && { wait "$second" || failed=1; }
done
[ $failed -eq 0 ] && rm -rf "$scratch"
exit $failed
