#!/usr/bin/env bash
# Start-up benchmarks under Wine on a private Xvfb display, each pair alternated:
#  1. time to window: process start until a visible window with the program's title,
#     the launcher against tools/bench/MinimalWindow.exe;
#  2. skip mode: wall time of "VantorraLauncher.exe -SKIP_LAUNCHER" minus its 500 ms
#     launch check, against tools/bench/SettingsStarter.exe, which first asks the shell for
#     the roaming folder and initialises COM, as skip mode must, then starts the game; and,
#     for reference, tools/bench/MinimalStarter.exe, which only starts the game.
# Prints the medians and the ratio of medians, for each build this machine runs: the x86
# build (32-bit Wine loader) where 32-bit programs run, and the x64 build (64-bit loader)
# always; VANTORRA_TEST_ARCH=x86|x64 measures one of them only.
# Usage: tools/bench.sh [runs]  (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
root=$PWD

tools/setup.sh
# shellcheck source=tools/wine-arch.sh
. tools/wine-arch.sh
choose_wine_arch
if [ -n "${VANTORRA_TEST_ARCH:-}" ] || [ "$wine_arch" = x64 ]; then
    archs=$wine_arch
else
    archs="x86 x64"
fi
echo "Measuring the $archs build(s) under $("$wine_loader64" --version), because $wine_arch_why."
echo "Machine: $(nproc) cores, $(awk '/model name/ { sub(/.*: /, ""); print; exit }' /proc/cpuinfo), Linux $(uname -r)."

session=$root/build/bench-session
trap '"$root/tools/wine-session.sh" stop "$session"' EXIT

now() { date +%s.%N; }
calc() { awk "BEGIN { printf \"%.6f\\n\", $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Ends the games and lets Wine finish tearing them and the last program down, so that
# every measurement starts from the same quiet state.
stop_games() {
    pkill -f 'Vantorra\.exe' 2>/dev/null || true
    while pgrep -f 'Vantorra\.exe' >/dev/null; do sleep 0.05; done
    sleep 0.5
}

# Seconds from start until a visible window titled $2 exists; then the program is ended.
# No game runs meanwhile: one that was just started would compete for the processors.
time_to_window() {
    local exe=$1 title=$2 start window
    stop_games
    start=$(now)
    "$WINE" "$exe" >/dev/null 2>&1 &
    local pid=$!
    # Polled every 10 ms: xdotool's own --sync waits half a second between looks.
    local end deadline
    deadline=$(calc "$start + 30")
    window=
    while [ -z "$window" ]; do
        window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
        end=$(now)
        [ -n "$window" ] || [ "$(calc "($end > $deadline)")" = 0.000000 ] || break
        [ -n "$window" ] || sleep 0.01
    done
    [ -n "$window" ] || { echo "no window for $exe" >&2; exit 1; }
    # The new window has the focus; Escape ends both programs. Synthetic events sent to a
    # window (xdotool --window) are ignored by Wine.
    xdotool key Escape
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    calc "$end - $start"
}

time_skip() {
    local exe=$1 start end
    stop_games
    start=$(now)
    "$WINE" "$exe" -SKIP_LAUNCHER >/dev/null 2>&1
    end=$(now)
    calc "$end - $start"
}

report() {
    local name=$1 ours=$2 floor=$3 goal=$4 a b
    a=$(median <"$ours")
    b=$(median <"$floor")
    printf '%-22s launcher %.3f s   %s %.3f s   ratio %.2f (goal %s)\n' \
        "$name" "$a" "${floor%.txt}" "$b" "$(calc "$a / $b")" "$goal"
}

# One build: its programs in a folder of their own, in a fresh Wine session with its loader.
bench_arch() {
    local arch=$1 preset bits objdump
    if [ "$arch" = x64 ]; then
        preset=release-x64 bits=64 objdump=x86_64-w64-mingw32-objdump
    else
        preset=release bits=32 objdump=i686-w64-mingw32-objdump
    fi
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" >/dev/null
    local build=$root/build/$preset folder=$root/build/bench-$arch
    rm -rf "$folder"
    mkdir -p "$folder"
    cp "$build/VantorraLauncher.exe" "$build/tools/bench/MinimalWindow.exe" \
        "$build/tools/bench/MinimalStarter.exe" "$build/tools/bench/SettingsStarter.exe" "$folder/"
    cp "$build/tests/FakeGame$bits.exe" "$folder/Vantorra.exe"
    "$root/tools/wine-session.sh" start "$session" win64 "$arch"
    # shellcheck disable=SC1091
    . "$session/env"
    # A started game waits without a window, so that it competes as little as possible with
    # the next measurement.
    export FAKEGAME_MODE=windowless FAKEGAME_LIFETIME_MS=60000
    cd "$folder"

    # Windows always has its desktop; Wine starts its desktop process with the first window
    # and ends it after the last. A hidden window in another folder keeps it for the whole run,
    # so neither program of a pair pays for it.
    mkdir -p keeper
    cp Vantorra.exe keeper/DesktopKeeper.exe
    (cd keeper && FAKEGAME_MODE=hidden FAKEGAME_LIFETIME_MS=3600000 "$WINE" DesktopKeeper.exe >/dev/null 2>&1 &)
    sleep 2

    # Warm up: the first start of anything pays for loading Wine's own DLLs.
    time_to_window MinimalWindow.exe MinimalWindow >/dev/null
    time_to_window VantorraLauncher.exe Vantorra >/dev/null

    : >launcher-window.txt; : >minimal-window.txt
    : >launcher-skip.txt; : >minimal-skip.txt; : >settings-skip.txt
    for _ in $(seq 1 "$runs"); do
        time_to_window VantorraLauncher.exe Vantorra >>launcher-window.txt
        time_to_window MinimalWindow.exe MinimalWindow >>minimal-window.txt
    done
    # A loop of their own: a start that follows a closed window shares the processors with
    # Wine's desktop tidying up after it, and only the launcher's would.
    for _ in $(seq 1 "$runs"); do
        calc "$(time_skip VantorraLauncher.exe) - 0.5" >>launcher-skip.txt
        time_skip MinimalStarter.exe >>minimal-skip.txt
        time_skip SettingsStarter.exe >>settings-skip.txt
    done
    stop_games

    echo "The $arch build ($preset), medians of $runs runs each:"
    report "time to window" launcher-window.txt minimal-window.txt "<= 1.25"
    report "skip mode" launcher-skip.txt settings-skip.txt "<= 1.1"
    report "skip mode, bare start" launcher-skip.txt minimal-skip.txt "none, reference"
    size=$(stat -c %s VantorraLauncher.exe)
    echo "VantorraLauncher.exe: $size bytes ($((size / 1024)) KiB); sections:"
    "$objdump" -h VantorraLauncher.exe | awk '$2 ~ /^\./ { print $2, $3 }' |
        while read -r section hex; do printf '  %-8s %7d bytes\n' "$section" "$((16#$hex))"; done
    echo "Imports: $("$objdump" -p VantorraLauncher.exe |
        awk '/DLL Name/ { printf "%s ", $3 }')"
    stop_games
    cd "$root"
    "$root/tools/wine-session.sh" stop "$session"
}

for arch in $archs; do
    bench_arch "$arch"
done
