#!/usr/bin/env bash
# Installs what building and testing the launcher needs on Debian 12. Does nothing when
# everything is there already. Run as root, or as a user who may use sudo.
set -euo pipefail

packages=(
    cmake make googletest
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine wine32:i386 wine64
    xvfb x11-utils xdotool imagemagick
    libgl1-mesa-dri:i386 libgl1:i386 libglx-mesa0:i386
    clang
    zip
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
$sudo apt-get install -y -q "${missing[@]}"
