#!/usr/bin/env bash
# Start-up benchmarks under Wine on a private Xvfb display, each pair alternated:
#  1. time to window: process start until a visible window with the program's title,
#     the launcher against tools/bench/MinimalWindow.exe;
#  2. skip mode: wall time of "VantorraLauncher.exe -SKIP_LAUNCHER" minus its 500 ms
#     launch check, against tools/bench/MinimalStarter.exe, which only starts the game.
# Prints the medians and the ratio of medians. Usage: tools/bench.sh [runs]  (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}

tools/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null

build=$PWD/build/release
folder=$PWD/build/bench
rm -rf "$folder"
mkdir -p "$folder"
cp "$build/VantorraLauncher.exe" "$build/tools/bench/MinimalWindow.exe" \
    "$build/tools/bench/MinimalStarter.exe" "$folder/"
cp "$build/tests/FakeGame32.exe" "$folder/Vantorra.exe"

session=$PWD/build/bench-session
trap 'tools/wine-session.sh stop "$session"' EXIT
tools/wine-session.sh start "$session"
# shellcheck disable=SC1091
. "$session/env"
export FAKEGAME_MODE=window FAKEGAME_LIFETIME_MS=60000
cd "$folder"

now() { date +%s.%N; }
calc() { awk "BEGIN { printf \"%.6f\\n\", $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
stop_games() {
    pkill -f 'Vantorra\.exe' 2>/dev/null || true
    while pgrep -f 'Vantorra\.exe' >/dev/null; do sleep 0.05; done
}

# Seconds from start until a visible window titled $2 exists; then the program is ended.
time_to_window() {
    local exe=$1 title=$2 start window
    start=$(now)
    wine "$exe" >/dev/null 2>&1 &
    local pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
    local end
    end=$(now)
    [ -n "$window" ] || { echo "no window for $exe" >&2; exit 1; }
    xdotool key --window "$window" Escape
    wait "$pid" 2>/dev/null || true
    calc "$end - $start"
}

time_skip() {
    local exe=$1 start end
    stop_games
    start=$(now)
    wine "$exe" -SKIP_LAUNCHER >/dev/null 2>&1
    end=$(now)
    calc "$end - $start"
}

# Warm up: the first start of anything pays for loading Wine's own DLLs.
time_to_window MinimalWindow.exe MinimalWindow >/dev/null
time_to_window VantorraLauncher.exe Vantorra >/dev/null

: >launcher-window.txt; : >minimal-window.txt; : >launcher-skip.txt; : >minimal-skip.txt
for _ in $(seq 1 "$runs"); do
    time_to_window VantorraLauncher.exe Vantorra >>launcher-window.txt
    time_to_window MinimalWindow.exe MinimalWindow >>minimal-window.txt
    calc "$(time_skip VantorraLauncher.exe) - 0.5" >>launcher-skip.txt
    time_skip MinimalStarter.exe >>minimal-skip.txt
done
stop_games

report() {
    local name=$1 ours=$2 floor=$3 goal=$4 a b
    a=$(median <"$ours")
    b=$(median <"$floor")
    printf '%-16s launcher %.3f s   minimal %.3f s   ratio %.2f (goal <= %s)\n' \
        "$name" "$a" "$b" "$(calc "$a / $b")" "$goal"
}
echo "Medians of $runs runs each:"
report "time to window" launcher-window.txt minimal-window.txt 1.25
report "skip mode" launcher-skip.txt minimal-skip.txt 1.3
size=$(stat -c %s VantorraLauncher.exe)
echo "VantorraLauncher.exe: $size bytes ($(calc "$size / 1024") KiB)"
