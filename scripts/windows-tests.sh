#!/usr/bin/env bash
# Runs the Windows build's tests under Wine; needs a display (scripts/test.sh provides Xvfb).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh

# One wineserver for the whole run, so that each test process starts fast. Wine's own services
# and desktop start here, away from ctest's pipes: one holding them open would make ctest wait
# forever.
wineserver -k 2>/dev/null || true
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
wine wineboot </dev/null >/dev/null 2>&1
ctest --preset mingw "$@"
