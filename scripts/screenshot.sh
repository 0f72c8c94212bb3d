#!/usr/bin/env bash
# Renews docs/editor-dialog.png, the README's picture of the dialog on samples/ABCD123A.TZR:
# starts the program under Wine and photographs its window. Gives itself a virtual display
# (Xvfb) when there is none, so that every run draws the same picture.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j2 --target tzr_data_manager
source scripts/wine-env.sh

# A copy on drive C:, so that the picture shows a path as on Windows.
work=$WINEPREFIX/drive_c/survey
mkdir -p "$work"
cp samples/ABCD123A.TZR "$work/"
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wine wineboot </dev/null >/dev/null 2>&1
wine "build/mingw/TZR Data Manager.exe" 'C:\survey\ABCD123A.TZR' >/dev/null 2>&1 &

window=""
for _ in $(seq 100); do
    window=$(xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "TZR Data Manager": .*/\1/p' | head -n 1)
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "screenshot: the dialog did not appear" >&2; exit 1; }
# The window is mapped before its controls have painted.
sleep 1
# No time stamps in the file: an unchanged dialog gives an unchanged picture.
import -window "$window" -define png:exclude-chunks=date,time docs/editor-dialog.png
echo "screenshot: wrote docs/editor-dialog.png"
