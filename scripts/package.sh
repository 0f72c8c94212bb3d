#!/usr/bin/env bash
# Builds the Windows release from the mingw build with CPack: build/packages/ then holds
# TZR-Data-Manager-<version>-win64.zip and TZR-Data-Manager-<version>-setup.exe. With --test it
# then runs the install test (scripts/install-test.sh), inside xvfb-run when there is no display.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2
cmake --build --preset mingw -j2 --target package_inputs
rm -rf build/packages
cpack --config build/mingw/CPackConfig.cmake -B build/packages
rm -rf build/packages/_CPack_Packages
ls -l build/packages

if [ "${1:-}" = --test ]; then
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        scripts/install-test.sh
    else
        xvfb-run -a -s "-screen 0 1280x1024x24" scripts/install-test.sh
    fi
fi
