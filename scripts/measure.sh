#!/usr/bin/env bash
# Whole-program measurements for docs/performance.md: peak memory of a save through a copy of a
# 1 GB raw file (tzrhdr set, the same save as the program's), its time against cp on the same
# disk, and start-up of TZR Data Manager.exe to a shown dialog under Wine against a minimal
# Win32 dialog program. Needs an X display for the start-up part (xvfb-run -a works).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset bench >/dev/null && cmake --build --preset bench --target tzrhdr >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/tzr-measure.XXXXXX")
trap 'rm -rf "$work"' EXIT

# A 1 GiB raw file whose data is written out, so that copying costs what it costs.
printf 'ver 2.1\r\nReceiverID:SN1\r\nDate:2026-03-05\r\n\002' >"$work/ABCD123A.TZR"
head -c $((1 << 30)) /dev/urandom >>"$work/ABCD123A.TZR"
sync

seconds() { local start end; start=$(date +%s.%N); "$@" >/dev/null; end=$(date +%s.%N); echo "$end - $start" | bc -l; }
cp_time=$(seconds cp "$work/ABCD123A.TZR" "$work/copy.TZR")
cp_sync_time=$(seconds sh -c "cp '$work/ABCD123A.TZR' '$work/copy2.TZR' && sync")
rm -f "$work/copy.TZR" "$work/copy2.TZR"
# A receiver version long enough that the new header no longer fits: the save copies.
save_time=$(seconds /usr/bin/time -f '%M' -o "$work/rss" build/bench/cli/tzrhdr set --no-journal \
    --receiver-version "$(printf 'v%.0s' $(seq 200))" "$work/ABCD123A.TZR")
printf 'save through a copy of 1 GiB: %.2f s; cp: %.2f s (ratio %.2f); cp + sync: %.2f s (ratio %.2f)\n' \
    "$save_time" "$cp_time" "$(echo "$save_time / $cp_time" | bc -l)" \
    "$cp_sync_time" "$(echo "$save_time / $cp_sync_time" | bc -l)"
echo "peak memory of the save: $(( $(cat "$work/rss") / 1024 )) MiB"

cmake --preset mingw >/dev/null && cmake --build --preset mingw >/dev/null
source scripts/wine-env.sh
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1
cp samples/ABCD123A.TZR "$work/sample.TZR"
sample=$(winepath -w "$work/sample.TZR")
ours=$(wine build/mingw/startup_timer.exe 9 "$(winepath -w "build/mingw/TZR Data Manager.exe")" "$sample" | tr -d '\r')
minimal=$(wine build/mingw/startup_timer.exe 9 "$(winepath -w build/mingw/minimal_dialog.exe)" | tr -d '\r')
printf 'start-up to a shown dialog under Wine: %s ms; minimal dialog program: %s ms (ratio %.2f)\n' \
    "$ours" "$minimal" "$(echo "$ours / $minimal" | bc -l)"
