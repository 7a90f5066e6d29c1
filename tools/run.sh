#!/usr/bin/env bash
# Builds the launcher and starts it under Wine from a demo install folder that holds the
# stand-in game as Vantorra.exe. On $DISPLAY when there is one; otherwise on a private
# Xvfb display, saving a screenshot of the launcher's window. Where the 32-bit Wine
# loader cannot start, it runs the x86_64 build under 64-bit Wine (as tools/test.sh
# does; VANTORRA_TEST_ARCH=x86|x64 forces a build).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
# shellcheck source=tools/wine-arch.sh
. tools/wine-arch.sh
choose_wine_arch
preset=$(wine_arch_preset)
bits=32
[ "$wine_arch" = x64 ] && bits=64
echo "Starting the $wine_arch build (build/$preset), because $wine_arch_why."
cmake --preset "$preset"
cmake --build --preset "$preset"

demo=$PWD/build/demo
mkdir -p "$demo"
cp "build/$preset/VantorraLauncher.exe" "$demo/"
cp "build/$preset/tests/FakeGame$bits.exe" "$demo/Vantorra.exe"
export FAKEGAME_LOG="Z:${demo//\//\\}\\game.log"

if [ -n "${DISPLAY:-}" ]; then
    export WINEPREFIX=$PWD/build/demo-prefix-$wine_arch
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
    export WINESERVER=$wine_server
    loader=$(wine_loader_for)
    [ "$wine_arch" = x64 ] && export WINELOADER=$loader
    cd "$demo"
    exec "$loader" VantorraLauncher.exe "$@"
fi

session=$PWD/build/demo-session
root=$PWD
trap '"$root/tools/wine-session.sh" stop "$session"' EXIT
tools/wine-session.sh start "$session" win64 "$wine_arch"
# shellcheck disable=SC1091
. "$session/env"
(cd "$demo" && "$WINE" VantorraLauncher.exe "$@" >"$demo/launcher.log" 2>&1) &
launcher=$!
shot=$demo/screenshot.png
rm -f "$shot"
if window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Vantorra$' 2>/dev/null | head -n 1) &&
    [ -n "$window" ]; then
    sleep 1
    geometry=$(xdotool getwindowgeometry "$window" | awk '/Position/ {print $2}')
    x=0 y=0
    if [ -n "$geometry" ]; then
        x=${geometry%,*} y=${geometry#*,}
    fi
    import -window root -crop "608x396+$x+$y" +repage "$shot"
    echo "The launcher's window ($wine_arch build) is on screen; screenshot saved to $shot"
    "$WINESERVER" -k || true
else
    echo "No launcher window appeared within 30 seconds." >&2
    status=1
fi
wait "$launcher" 2>/dev/null || true
exit "${status:-0}"
