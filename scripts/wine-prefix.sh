#!/usr/bin/env bash
# Creates the Wine prefix that wine-env.sh names (TZR_WINEPREFIX chooses another), set up as the
# tests expect, unless it is there already.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] && exit 0
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true
# Without a window manager (Xvfb) a managed window blocks for seconds on every hide.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Chinese dialogs ask for SimSun; the bitmap strikes of the first match drop some glyphs
# ("-" among them), so point it at an outline font.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
wineserver -w
