#!/usr/bin/env bash
# A private Wine world for one test run: its own prefix, an Xvfb display and a
# persistent wineserver. `start DIR [PREFIX] [LOADER] [DPI]` makes it and writes DIR/env;
# `stop DIR` ends it and removes DIR. PREFIX is win64 (default) or win32; LOADER is x86
# (default: the 32-bit loader, which starts 64-bit programs too) or x64 (the 64-bit
# loader alone, for machines that cannot run 32-bit programs); DPI is the display scale
# (default 96), which Wine reads when the prefix's processes start. Nothing here touches
# the user's own prefix or display.
set -euo pipefail

usage="usage: wine-session.sh start|stop DIR [win32|win64] [x86|x64] [DPI]"
action=${1:?$usage}
dir=${2:?$usage}
prefix_arch=${3:-win64}
loader_arch=${4:-x86}
dpi=${5:-96}
# shellcheck source=tools/wine-arch.sh
. "$(dirname "$0")/wine-arch.sh"

stop() {
    [ -f "$dir/env" ] || { rm -rf "$dir"; return 0; }
    # shellcheck disable=SC1091
    . "$dir/env"
    WINESERVER=${WINESERVER:-$wine_server}
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    if [ -f "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
}

start() {
    stop
    mkdir -p "$dir"
    # Xvfb picks a free display number itself, so concurrent runs never share one.
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 </dev/null &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 1 100); do
        [ -s "$dir/display" ] && break
        sleep 0.1
    done
    local n
    n=$(tr -dc '0-9' <"$dir/display")
    if [ -z "$n" ] || ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
        echo "Xvfb did not start" >&2
        cat "$dir/xvfb.log" >&2
        exit 1
    fi

    local loader
    loader=$(wine_loader_for "$loader_arch")
    cat >"$dir/env" <<ENV
export WINEPREFIX="$dir/prefix"
export WINEARCH="$prefix_arch"
# Wine's own programs by their real paths: run Windows programs with "\$WINE".
export WINE="$loader"
export WINESERVER="$wine_server"
ENV
    if [ "$loader_arch" = x64 ]; then
        # Programs that Wine starts itself use this loader too, not the 32-bit default.
        echo "export WINELOADER=\"$loader\"" >>"$dir/env"
    fi
    cat >>"$dir/env" <<ENV
export DISPLAY=":$n"
export WINEDEBUG=-all
# No Mono/Gecko prompts; a crash fails fast instead of waiting in winedbg.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
ENV
    # shellcheck disable=SC1091
    . "$dir/env"
    "$WINE" wineboot -i >"$dir/wineboot.log" 2>&1 || { cat "$dir/wineboot.log" >&2; exit 1; }
    # Xvfb has no window manager: Wine draws the frames and captions itself, as Windows
    # would, and does not wait for a manager to withdraw each closed window.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$dir/wineboot.log" 2>&1
    if [ "$dpi" != 96 ]; then
        "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >>"$dir/wineboot.log" 2>&1
    fi
    "$WINESERVER" -w
    # Persistent, so every test process reuses one server instead of starting its own.
    "$WINESERVER" -p >/dev/null 2>&1 </dev/null
}

case "$action" in
    start) start ;;
    stop) stop ;;
    *) echo "$usage" >&2; exit 2 ;;
esac
