#!/usr/bin/env bash
# Builds the program and shows a raw file's header: the file given, or a sample.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native --target tzrhdr
exec build/native/cli/tzrhdr show "${1:-samples/ABCD123A.TZR}"
