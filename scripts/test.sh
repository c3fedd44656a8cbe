#!/usr/bin/env bash
# Sets up, builds (the dev preset: warnings are errors) and runs every test of
# Tavek through ctest, several at a time: most of them wait on a 9600 bit/s line.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
scripts/setup-debian.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j"$(nproc)"
ctest --preset dev
