#!/usr/bin/env bash
# Installs what building and testing the launcher needs on Debian 12. Does nothing when
# everything is there already. Run as root, or as a user who may use sudo.
# Without recommends: each package the scripts and tests use is named here.
set -euo pipefail

packages=(
    cmake make googletest
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine32:i386 wine64
    xvfb x11-utils xdotool imagemagick
    # Wine's DXGI renders through Mesa of the loader's architecture: amd64 for the x64
    # path, i386 for the 32-bit one.
    libgl1-mesa-dri:amd64 libgl1:amd64 libglx-mesa0:amd64
    libgl1-mesa-dri:i386 libgl1:i386 libglx-mesa0:i386
    # What Wine draws for "Segoe UI" (the options window): Liberation Sans, as in docs/.
    fonts-liberation
    # The vantorra.ini fuzzer (tools/fuzz-config.sh): clang++ and its libFuzzer/ASan runtime.
    clang libclang-rt-14-dev
    # The benchmark's window watcher (tools/bench/benchtime.c).
    libx11-dev
)

installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
