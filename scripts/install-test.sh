#!/usr/bin/env bash
# Tests the packages that scripts/package.sh wrote, in a fresh Wine prefix of their own: the zip
# holds exactly the release files and its tzrhdr runs; the setup program installs silently, the
# installed program opens a sample raw file from the shell, and the silent uninstaller removes
# what was installed but keeps the raw file and an edited antenna catalogue. Needs an X display
# (scripts/package.sh --test provides Xvfb).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/mingw/CMakeCache.txt)
zip=$PWD/build/packages/TZR-Data-Manager-$version-win64.zip
setup=build/packages/TZR-Data-Manager-$version-setup.exe
check=build/mingw/tests/tzr_install_check.exe
work=$PWD/build/install-test

export TZR_WINEPREFIX=$work/wineprefix
source scripts/wine-env.sh
# Shortcuts stay inside the prefix instead of reaching this machine's menus.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

fail() {
    echo "install test: $*" >&2
    exit 1
}

# Waits for a path to disappear: a silent uninstaller goes on from a copy of itself after the
# process started here has ended.
wait_until_gone() {
    for _ in $(seq 300); do
        [ -e "$1" ] || return 0
        sleep 0.2
    done
    fail "$1 is still there a minute after the uninstaller started"
}

rm -rf "$work"
mkdir -p "$work/zip"
scripts/wine-prefix.sh
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT
wine wineboot </dev/null >/dev/null 2>&1

(cd "$work/zip" && cmake -E tar xf "$zip")
expected=$(printf '%s\n' LICENSE.txt README.txt 'TZR Data Manager.exe' TZR.ico tzrhdr.exe)
[ "$(cd "$work/zip" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)" = "$expected" ] ||
    fail "the zip does not hold exactly: $(echo $expected)"
catalogue=$(timeout 60 wine "$work/zip/tzrhdr.exe" catalogue --json)
[[ $catalogue == *'"count": 45'* ]] || fail "tzrhdr from the zip does not list the built-in catalogue"
passed=1

drive_c=$WINEPREFIX/drive_c
mkdir -p "$drive_c/survey"
cp samples/ABCD123A.TZR "$drive_c/survey/"
export TZR_RAW_FILE='C:\survey\ABCD123A.TZR'
edited_catalogue=$'[ANTENNA]\r\nMY ANTENNA\r\n0.1\r\n0.0\r\n0.0\r\n[END]'

# Installs into one folder, checks, uninstalls and checks again. The program writes the
# built-in catalogue when it opens the raw file; "edit" replaces it as a user would.
install_round() {
    local folder=$1 catalogue=$2
    shift 2
    export TZR_INSTALL_DIR=$folder
    local relative=${folder#'C:\'}
    local installed=$drive_c/${relative//\\//}
    timeout 120 wine "$setup" /S "$@" || fail "the setup program failed in $folder"
    timeout 120 wine "$check" --gtest_filter='Installed.*' || fail "installed in $folder"
    [ -f "$installed/TzrManagerAnt.ini" ] || fail "the program wrote no catalogue in $folder"
    [ "$catalogue" = keep ] || printf '%s' "$edited_catalogue" >"$installed/TzrManagerAnt.ini"

    timeout 60 wine "$installed/Uninstall.exe" /S || fail "the uninstaller failed in $folder"
    wait_until_gone "$installed/Uninstall.exe"
    timeout 120 wine "$check" --gtest_filter='Uninstalled.*' || fail "uninstalled from $folder"
    if [ "$catalogue" = keep ]; then
        wait_until_gone "$installed"
    else
        [ "$(ls -A "$installed" 2>/dev/null)" = TzrManagerAnt.ini ] ||
            fail "$folder does not hold the edited catalogue alone"
        printf '%s' "$edited_catalogue" | cmp -s - "$installed/TzrManagerAnt.ini" ||
            fail "the edited catalogue in $folder changed"
    fi
    cmp -s samples/ABCD123A.TZR "$drive_c/survey/ABCD123A.TZR" || fail "the raw file changed"
    passed=$((passed + 1))
}

install_round 'C:\Program Files\TZR Data Manager' keep
install_round 'C:\测量工具\TZR数据' edit '/D=C:\测量工具\TZR数据'
wineserver -k
trap - EXIT
rm -rf "$work"
# The zip and the two installs; the first failure ends the test with its reason.
echo "install: $passed passed, 0 failed"
