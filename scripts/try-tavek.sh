#!/usr/bin/env bash
# Sets up, builds and starts Tavek with a virtual modem attached as "Com 1",
# so Tavek can be tried without hardware. Ends when Tavek is closed. Only the
# two programs are built; scripts/test.sh builds the rest in the same folder.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/setup-debian.sh"
"$top/scripts/build.sh" tavek tavek-virtual-modem

"$top/build/tools/tavek-virtual-modem" 1 &
modem=$!
trap 'kill $modem 2>/dev/null; wait $modem 2>/dev/null || true' EXIT
sleep 0.5
"$top/build/app/tavek"
