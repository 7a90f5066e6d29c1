#!/usr/bin/env bash
# A private Wine world for one test run: its own prefix, an Xvfb display and a
# persistent wineserver. `start DIR` makes it and writes DIR/env; `stop DIR` ends it
# and removes DIR. Nothing here touches the user's own prefix or display.
set -euo pipefail

action=${1:?usage: wine-session.sh start|stop DIR [win32|win64]}
dir=${2:?usage: wine-session.sh start|stop DIR [win32|win64]}
arch=${3:-win64}

stop() {
    [ -f "$dir/env" ] || { rm -rf "$dir"; return 0; }
    # shellcheck disable=SC1091
    . "$dir/env"
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
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

    cat >"$dir/env" <<ENV
export WINEPREFIX="$dir/prefix"
export WINEARCH="$arch"
export DISPLAY=":$n"
export WINEDEBUG=-all
# No Mono/Gecko prompts; a crash fails fast instead of waiting in winedbg.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
ENV
    # shellcheck disable=SC1091
    . "$dir/env"
    wineboot -i >"$dir/wineboot.log" 2>&1 || { cat "$dir/wineboot.log" >&2; exit 1; }
    # Xvfb has no window manager: Wine draws the frames and captions itself, as Windows
    # would, and does not wait for a manager to withdraw each closed window.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$dir/wineboot.log" 2>&1
    wineserver -w
    # Persistent, so every test process reuses one server instead of starting its own.
    wineserver -p >/dev/null 2>&1 </dev/null
}

case "$action" in
    start) start ;;
    stop) stop ;;
    *) echo "usage: wine-session.sh start|stop DIR [win32|win64]" >&2; exit 2 ;;
esac
