#!/usr/bin/env bash
# Installs what building and testing the launcher needs on Debian 12. Does nothing when
# everything is there already. Run as root, or as a user who may use sudo.
# Without recommends: each package the scripts and tests use is named here.
#
# A mirror briefly out of step is an everyday event: a package list that fails to download
# is tried again a few times, then the set-up goes on with the lists apt has. The 32-bit
# set is a step of its own; when it cannot be installed the scripts take the x64 path
# (tools/wine-arch.sh), so only a missing 64-bit package ends the set-up with an error.
set -euo pipefail

packages64=(
    cmake make googletest
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
    wine64
    xvfb x11-utils xdotool imagemagick
    # Wine's DXGI renders through Mesa of the loader's architecture: amd64 for the x64
    # path, i386 for the 32-bit one.
    libgl1-mesa-dri:amd64 libgl1:amd64 libglx-mesa0:amd64
    # What Wine draws for "Segoe UI" (the options window): Liberation Sans, as in docs/.
    fonts-liberation
    # The vantorra.ini fuzzer (tools/fuzz-config.sh): clang++ and its libFuzzer/ASan runtime.
    clang libclang-rt-14-dev
    # The benchmark's window watcher (tools/bench/benchtime.c).
    libx11-dev
)
packages32=(wine32:i386 libgl1-mesa-dri:i386 libgl1:i386 libglx-mesa0:i386)

# How often and how far apart the package lists are asked for.
update_tries=${VANTORRA_SETUP_UPDATE_TRIES:-3}
update_pause=${VANTORRA_SETUP_UPDATE_PAUSE:-5}

installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing64=()
for package in "${packages64[@]}"; do
    installed "$package" || missing64+=("$package")
done
missing32=()
for package in "${packages32[@]}"; do
    installed "$package" || missing32+=("$package")
done
[ ${#missing64[@]} -eq 0 ] && [ ${#missing32[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# apt's own output goes here; the set-up says in a line what each step came to.
log=$(mktemp "${TMPDIR:-/tmp}/vantorra-setup.XXXXXX")

# The first line of apt's output in $log that says why it failed.
apt_reason() {
    local reason
    # A package that cannot be had names itself (" foo:i386 : Depends: ..."); otherwise
    # apt's first error.
    reason=$(grep -m1 -E '^ +[^ ]+ : (Pre)?Depends: ' "$log" | sed -E 's/^ +//; s/ +/ /g') ||
        reason=$(grep -m1 -E '^E: ' "$log" | sed -E 's/^E: //') ||
        reason="apt-get exited with an error and said no more"
    echo "$reason"
}

if [ ${#missing32[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi

echo "Set-up: updating the package lists (apt's output: $log)."
try=1
while :; do
    status=0
    $sudo apt-get update -q >"$log" 2>&1 || status=$?
    # apt ignores an index it could not fetch and says so with a failure on stderr.
    failed=$(grep -m1 -E '^(E|W): Failed to fetch ' "$log" | sed -E 's/^(E|W): Failed to fetch ([^ ]+) +(.*)$/\2 (\3)/') || true
    if [ "$status" -eq 0 ] && [ -z "$failed" ]; then
        break
    fi
    if [ "$try" -ge "$update_tries" ]; then
        echo "Set-up: a package list failed $update_tries times, going on with the lists apt has: ${failed:-$(apt_reason)}"
        break
    fi
    try=$((try + 1))
    sleep "$update_pause"
done

if [ ${#missing64[@]} -gt 0 ]; then
    echo "Set-up: installing ${#missing64[@]} packages: ${missing64[*]}"
    if ! $sudo apt-get install -y -q --no-install-recommends "${missing64[@]}" >"$log" 2>&1; then
        echo "Set-up failed: the 64-bit packages could not be installed: $(apt_reason) (apt's output: $log)" >&2
        exit 1
    fi
fi

if [ ${#missing32[@]} -gt 0 ]; then
    echo "Set-up: installing the 32-bit set: ${missing32[*]}"
    if ! $sudo apt-get install -y -q --no-install-recommends "${missing32[@]}" >"$log" 2>&1; then
        echo "Set-up: the 32-bit set could not be installed, so the Wine tests and the demo take the x64 path: $(apt_reason)"
        exit 0
    fi
fi
rm -f "$log"
