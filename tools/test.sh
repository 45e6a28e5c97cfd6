#!/usr/bin/env bash
# Sets up the machine, builds both configurations and runs every test suite:
# the unit tests natively, then the same tests and the end-to-end tests as
# Windows programs under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
start=$(date +%s)

tools/setup.sh

echo "== native build and tests"
tools/build.sh native
ctest --test-dir build/native --output-on-failure -j "$(nproc)"

echo "== fuzz targets, a few seconds each"
tools/fuzz.sh

echo "== Windows build and tests under Wine"
tools/build.sh win32
source tools/xvfb.sh
tools/wine-run.sh cmd /c exit >/dev/null 2>&1 || true   # creates the prefix once
ctest --test-dir build/win32 --output-on-failure -j "$(nproc)"

echo "== all tests passed in $(( $(date +%s) - start )) s"
