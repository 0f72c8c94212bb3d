#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, generates the zh_CN.UTF-8 locale
# and creates the project's Wine prefix. Safe to run again: it only does what is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev googletest libbenchmark-dev libcli11-dev nlohmann-json3-dev
    clang-14 libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth fonts-wine fonts-wqy-zenhei fonts-wqy-microhei imagemagick x11-utils
    nsis
    locales
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi

"$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
