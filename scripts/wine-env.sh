# Sourced by the scripts: one private Wine prefix for this checkout, Chinese locale so that the
# ANSI and OEM code pages are 936 as on a Chinese Windows, and no Wine debug chatter.
TZR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${TZR_WINEPREFIX:-$TZR_ROOT/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8
