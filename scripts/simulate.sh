#!/usr/bin/env bash
# Runs the line simulation for longer than the test suite does: N schedules
# (default 1,000,000) from seed FIRST (default 1), split over the machine's
# cores, each part in a process of its own. A failing schedule is printed with
# its seed and its exchange; TAVEK_SIM_SEED=<seed> build/tests/sim/tst_line_simulation
# replays it alone.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
count="${1:-1000000}"
first="${2:-1}"
parts="$(nproc)"
cd "$top"
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$parts" --target tst_line_simulation >/dev/null
program="$top/build/tests/sim/tst_line_simulation"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT

per=$(( (count + parts - 1) / parts ))
start=$(date +%s.%N)
pids=()
for (( part = 0; part < parts; ++part )); do
    from=$(( first + part * per ))
    this=$(( per < count - part * per ? per : count - part * per ))
    (( this > 0 )) || break
    # A part runs longer than QtTest's watchdog allows a test function (5 minutes).
    HOME="$home" QT_QPA_PLATFORM=offscreen TAVEK_SIM_FIRST=$from TAVEK_SIM_SCHEDULES=$this \
        QTEST_FUNCTION_TIMEOUT=86400000 "$program" -silent >"$home/part$part.log" 2>&1 &
    pids+=($!)
done
failed=0
for (( part = 0; part < ${#pids[@]}; ++part )); do
    if ! wait "${pids[$part]}"; then
        failed=1
    fi
    grep -E "schedules from seed|^Schedule|violated|Replay" "$home/part$part.log" || true
done
end=$(date +%s.%N)
awk -v n="$count" -v s="$start" -v e="$end" \
    'BEGIN { printf "%d schedules in %.1f s: %.0f a second\n", n, e - s, n / (e - s) }'
exit $failed
