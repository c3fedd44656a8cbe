#!/usr/bin/env bash
# Sets up, builds (the dev preset: warnings are errors) and runs every test of
# Tavek through ctest, several at a time (most of them wait on a 9600 bit/s
# line), then the line simulation's budget.
# It builds in the folder and configuration that scripts/try-tavek.sh uses, so
# after that only the rest is built.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
scripts/setup-debian.sh
scripts/build.sh
# The simulation keeps both cores busy; the tests on a real 9600 bit/s line
# go first, on their own, so their timing is the line's and not the load's.
ctest --preset dev -E '^sim\.'
ctest --preset dev -R '^sim\.'
