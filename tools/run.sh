#!/usr/bin/env bash
# Builds the launcher and starts it under Wine from a demo install folder that holds the
# stand-in game as Vantorra.exe. On $DISPLAY when there is one; otherwise on a private
# Xvfb display, saving a screenshot of the launcher's window.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset release
cmake --build --preset release

demo=$PWD/build/demo
mkdir -p "$demo"
cp build/release/VantorraLauncher.exe "$demo/"
cp build/release/tests/FakeGame32.exe "$demo/Vantorra.exe"
export FAKEGAME_LOG="Z:${demo//\//\\}\\game.log"

if [ -n "${DISPLAY:-}" ]; then
    export WINEPREFIX=$PWD/build/demo-prefix
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    cd "$demo"
    exec wine VantorraLauncher.exe "$@"
fi

session=$PWD/build/demo-session
root=$PWD
trap '"$root/tools/wine-session.sh" stop "$session"' EXIT
tools/wine-session.sh start "$session"
# shellcheck disable=SC1091
. "$session/env"
(cd "$demo" && wine VantorraLauncher.exe "$@" >"$demo/launcher.log" 2>&1) &
launcher=$!
shot=$demo/screenshot.png
if window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vantorra$' 2>/dev/null | head -n 1) &&
    [ -n "$window" ]; then
    sleep 1
    import -window root -crop 608x396+0+0 +repage "$shot" 2>/dev/null || import -window root "$shot"
    geometry=$(xdotool getwindowgeometry "$window" | awk '/Position/ {print $2}')
    if [ -n "$geometry" ]; then
        x=${geometry%,*} y=${geometry#*,}
        import -window root -crop "608x396+$x+$y" +repage "$shot"
    fi
    echo "The launcher's window is on screen; screenshot saved to $shot"
    wineserver -k || true
else
    echo "No launcher window appeared within 30 seconds."
fi
wait "$launcher" 2>/dev/null || true
