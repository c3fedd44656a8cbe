#!/usr/bin/env bash
# Configures ./build with the dev preset (the configuration scripts/test.sh
# runs the tests in, so neither rebuilds what the other built) and builds the
# given targets, or everything.
# Usage: scripts/build.sh [target ...]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
cmake --preset dev >/dev/null
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
cmake --build --preset dev -j"$(nproc)" "${targets[@]}"
