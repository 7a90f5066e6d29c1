#!/usr/bin/env bash
# The first frames a player sees of each window: the built launcher is started a few times
# in a test session, its main window's pixels are read from the moment X maps it until they
# settle, and so are the options window's from its opening. Every frame must be black (X's
# new window), what the screen showed there before (X shows it until the window is drawn)
# or the finished window: none white, none half drawn. Uses tools/bench/benchtime.c, built
# natively here.
#   first-frames.sh SESSION-DIR BUILD-DIR [starts, default 3]
set -euo pipefail
session=${1:?usage: first-frames.sh SESSION-DIR BUILD-DIR [starts]}
build=${2:?usage: first-frames.sh SESSION-DIR BUILD-DIR [starts]}
starts=${3:-3}
root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck disable=SC1091
. "$session/env"

work=$build/first-frames
mkdir -p "$work"
tool=$work/benchtime
if [ ! "$tool" -nt "$root/tools/bench/benchtime.c" ]; then
    cc -O2 -Wall -Wextra -o "$tool" "$root/tools/bench/benchtime.c" -lX11
fi
folder=$(mktemp -d "$work/install.XXXXXX")
trap 'rm -rf "$folder"' EXIT
cp "$build/VantorraLauncher.exe" "$folder/"
# Never started here: the version label reads it.
cp "$(ls "$build"/tests/FakeGame*.exe | head -n 1)" "$folder/Vantorra.exe"
cd "$folder"

failed=0
# "seconds-to-map seconds-to-finished frames others pid": others must be 0.
check() {
    local what=$1 result=$2 others
    others=$(echo "$result" | cut -d' ' -f4)
    echo "$what: map $(echo "$result" | cut -d' ' -f1) s, finished $(echo "$result" | cut -d' ' -f2) s, $(echo "$result" | cut -d' ' -f3) frames read, $others neither black nor the finished window"
    [ "$others" = 0 ] || failed=1
}

for start in $(seq 1 "$starts"); do
    # The pointer away from where the window opens, so that nothing lights up under it.
    xdotool mousemove 0 0
    main=$("$tool" frames Vantorra "$WINE" VantorraLauncher.exe) || { echo "no main window" >&2; exit 1; }
    check "start $start, main window" "$main"

    # "EINSTELLUNGEN" at the window's scale: hovered first, so that the screen beneath the
    # options window is read as it is when the click opens it.
    id=$(xdotool search --name '^Vantorra$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    scale=$(awk "BEGIN { print $WIDTH / 608 }")
    xdotool mousemove "$(awk "BEGIN { printf \"%d\", $X + 211 * $scale }")" \
        "$(awk "BEGIN { printf \"%d\", $Y + 213 * $scale }")"
    sleep 0.5
    "$tool" frames Einstellungen >"$work/options.txt" &
    watcher=$!
    sleep 0.3
    xdotool click 1
    wait "$watcher" || { echo "no options window" >&2; exit 1; }
    check "start $start, options window" "$(cat "$work/options.txt")"

    # Escape closes the options window, then the launcher.
    for _ in 1 2; do
        sleep 0.3
        xdotool key Escape
    done
    pid=$(echo "$main" | cut -d' ' -f5)
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        echo "the launcher did not end" >&2
        kill "$pid"
        exit 1
    fi
done
exit $failed
