#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine in the project's prefix (ctest's emulator).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
