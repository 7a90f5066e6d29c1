# Sourced by the scripts that run Wine: Wine's programs by their real paths, and which
# build the tests and the demo run on this machine.
#
# Debian's /usr/bin/wine, wineboot and friends start the 32-bit loader whenever it is
# installed, even on a kernel that cannot run 32-bit programs; so nothing here goes
# through them.

wine_loader32=/usr/lib/wine/wine
wine_loader64=/usr/lib/wine/wine64
wine_server=/usr/lib/wine/wineserver64

# Sets wine_arch (x86: the 32-bit build under the 32-bit loader; x64: the x86_64 build
# under the 64-bit loader) and wine_arch_why. VANTORRA_TEST_ARCH=x86|x64 forces a path.
choose_wine_arch() {
    local probe
    case "${VANTORRA_TEST_ARCH:-}" in
        x86 | x64)
            wine_arch=$VANTORRA_TEST_ARCH
            wine_arch_why="forced by VANTORRA_TEST_ARCH=$VANTORRA_TEST_ARCH"
            ;;
        "")
            # Ask the loader itself: only running it tells whether this kernel can.
            if [ ! -e "$wine_loader32" ]; then
                wine_arch=x64
                wine_arch_why="the 32-bit Wine is not installed (the set-up says why above)"
            elif probe=$("$wine_loader32" --version 2>&1); then
                wine_arch=x86
                wine_arch_why="the 32-bit Wine loader runs here ($probe)"
            else
                wine_arch=x64
                wine_arch_why="the 32-bit Wine loader cannot start here (${probe##*: })"
            fi
            ;;
        *)
            echo "VANTORRA_TEST_ARCH must be x86 or x64, not '$VANTORRA_TEST_ARCH'" >&2
            return 2
            ;;
    esac
}

# The configure/build preset of the launcher that runs under Wine on that path.
wine_arch_preset() {
    if [ "$wine_arch" = x64 ]; then echo release-x64; else echo release; fi
}

# The loader for a path (x86|x64, default: wine_arch). The 32-bit loader also starts
# 64-bit programs (through the 64-bit one); the 64-bit loader starts only those.
wine_loader_for() {
    if [ "${1:-$wine_arch}" = x64 ]; then echo "$wine_loader64"; else echo "$wine_loader32"; fi
}

# x86 or x64: the machine a Windows program was built for, read from its PE header.
pe_arch() {
    local offset machine
    offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" | tr -d ' ')
    case "$machine" in
        014c) echo x86 ;;
        8664) echo x64 ;;
        *) echo "unknown machine $machine in $1" >&2; return 1 ;;
    esac
}
