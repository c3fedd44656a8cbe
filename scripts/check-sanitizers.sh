#!/usr/bin/env bash
# Builds Tavek with AddressSanitizer and UBSan (the asan preset, into
# build-asan) and runs the whole suite there, the line simulation with a
# smaller budget (a tenth: it runs several times slower); the first report
# ends a test.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
scripts/setup-debian.sh
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$(nproc)"
ctest --preset asan -E '^sim\.'
ctest --preset asan -R '^sim\.'
