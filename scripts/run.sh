#!/usr/bin/env bash
# Builds TZR Data Manager for Windows and starts it under Wine on the raw file given, or on a
# copy of a sample (so that saving never changes the checked-in samples).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target tzr_data_manager
source scripts/wine-env.sh

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "run.sh: no X display to show the dialog on. Run it from a desktop session, or give" >&2
    echo "it a virtual one: xvfb-run -a scripts/run.sh [FILE.TZR]" >&2
    exit 1
fi

if [ $# -gt 0 ]; then
    file=$1
else
    mkdir -p build/run
    cp samples/ABCD123A.TZR build/run/
    file=build/run/ABCD123A.TZR
fi
exec wine "build/mingw/TZR Data Manager.exe" "$(winepath -w "$file" 2>/dev/null)"
