#!/usr/bin/env bash
# Builds both presets and runs every test: natively with sanitizers, then the Windows build
# under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
source scripts/wine-env.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset mingw
cmake --build --preset mingw
# One wineserver for the whole run, so that each test process starts fast. Wine's own services
# start here, away from ctest's pipes: a service holding them open would make ctest wait forever.
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
wine wineboot </dev/null >/dev/null 2>&1
ctest --preset mingw
