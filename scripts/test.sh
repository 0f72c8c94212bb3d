#!/usr/bin/env bash
# Builds both presets and runs every test: natively with sanitizers, then the Windows build
# under Wine, then each fuzz target for TZR_FUZZ_SECONDS (60 unless set), then builds the
# release packages and tests installing and uninstalling them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
source scripts/wine-env.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset mingw
cmake --build --preset mingw
xvfb-run -a -s "-screen 0 1280x1024x24" scripts/windows-tests.sh

TZR_FUZZ_SEED=${TZR_FUZZ_SEED:-1} scripts/fuzz.sh "${TZR_FUZZ_SECONDS:-60}"

scripts/package.sh --test
