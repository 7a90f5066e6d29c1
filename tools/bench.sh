#!/usr/bin/env bash
# Start-up benchmarks under Wine on private Xvfb displays. Each group alternates its
# programs, and every start begins from a quiet Wine:
#  1. the windows, at 96 and at 144 DPI (one Wine session each, taken in turn): from the
#     start until the display maps a window with the program's title, and until the window
#     shows its finished picture (tools/bench/benchtime.c listens for the map event on one
#     X connection opened before the start, then reads the window's pixels until they have
#     not changed for a second; the first frame equal to the last is the finished one). It
#     counts the frames that were neither black (X's new window) nor the finished picture.
#     The launcher against tools/bench/PictureWindow.exe (the launcher's eight imports, a
#     window of its size at the screen's scale showing one picture made beforehand) and,
#     for the time to map, tools/bench/MinimalWindow.exe;
#  2. skip mode: the time of "VantorraLauncher.exe -SKIP_LAUNCHER" until it ends, minus its
#     500 ms launch check, against tools/bench/SettingsSaver.exe (roaming folder, COM,
#     vantorra.ini read and written back through a temporary and a rename, game started:
#     what skip mode must do), and for reference SettingsStarter.exe (the same without the
#     file) and MinimalStarter.exe (the start alone); every start finds the same small
#     vantorra.ini, which needs rewriting;
#  3. skip mode with a 25 MB vantorra.ini (1.2 million lines of mods' keys) against the
#     same start with the small file.
# Prints medians with their quartiles and the ratio of medians, for each build this
# machine runs: the x86 build (32-bit Wine loader) where 32-bit programs run, and the x64
# build (64-bit loader) always; VANTORRA_TEST_ARCH=x86|x64 measures one of them only.
# VANTORRA_BENCH_LAUNCHER=path measures that VantorraLauncher.exe (another build of the same
# bitness) in place of the tree's.
# Usage: tools/bench.sh [runs]  (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
scales="96 144"
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
echo "Measuring the $archs build(s) at $scales DPI under $("$wine_loader64" --version), because $wine_arch_why."
echo "Machine: $(nproc) cores, $(awk '/model name/ { sub(/.*: /, ""); print; exit }' /proc/cpuinfo), Linux $(uname -r)."

mkdir -p build/bench-tools
benchtime=$root/build/bench-tools/benchtime
cc -O2 -Wall -Wextra -o "$benchtime" tools/bench/benchtime.c -lX11

session_of() { echo "$root/build/bench-session-$1"; }
stop_sessions() {
    local scale
    for scale in $scales; do "$root/tools/wine-session.sh" stop "$(session_of "$scale")"; done
}
trap stop_sessions EXIT

calc() { awk "BEGIN { printf \"%.6f\\n\", $1 }"; }
# "median q1 q3" of the numbers in a file, quartiles interpolated.
quartiles() {
    sort -g "$1" | awk '{ v[NR] = $1 }
        function at(p,   h, lo) { h = (NR - 1) * p + 1; lo = int(h); return v[lo] + (h - lo) * (v[lo + 1] - v[lo]) }
        END { printf "%.6f %.6f %.6f\n", at(0.5), at(0.25), at(0.75) }'
}
# The games started in this session's prefix: others may run Wine beside the benchmark.
session_games() {
    local pid
    for pid in $(pgrep -f 'Vantorra\.exe'); do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            echo "$pid"
    done
    return 0
}
# Ends the games and lets Wine finish tearing them and the last program down, so that
# every measurement starts from the same quiet state.
stop_games() {
    local pids
    pids=$(session_games)
    # shellcheck disable=SC2086
    [ -z "$pids" ] || kill $pids 2>/dev/null || true
    while [ -n "$(session_games)" ]; do sleep 0.05; done
    sleep 0.5
}

# Ends a program that was measured with its window: Escape ends each once its window has
# the focus, which may come a moment after the map. Synthetic events sent to a window
# (xdotool --window) are ignored by Wine.
end_program() {
    local pid=$1
    for _ in $(seq 1 40); do
        kill -0 "$pid" 2>/dev/null || break
        xdotool key Escape
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
}

# Seconds until the program's window titled $2 is mapped; then the program is ended.
# No game runs meanwhile: one that was just started would compete for the processors.
time_to_window() {
    local exe=$1 title=$2 measured
    stop_games
    measured=$("$benchtime" window "$title" "$WINE" "$exe") || { echo "no window for $exe" >&2; exit 1; }
    end_program "${measured#* }"
    echo "${measured% *}"
}

# "seconds-to-map seconds-to-finished-picture other-frames" of one start of the program
# whose window is titled $2, the pointer away from it; then the program is ended.
time_frames() {
    local exe=$1 title=$2 measured
    stop_games
    xdotool mousemove 0 0
    measured=$("$benchtime" frames "$title" "$WINE" "$exe") || { echo "no window for $exe" >&2; exit 1; }
    end_program "$(echo "$measured" | cut -d' ' -f5)"
    echo "$measured" | cut -d' ' -f1,2,4
}

# The Wine session of a display scale, its roaming folder and the games' behaviour.
enter_session() {
    # shellcheck disable=SC1091
    . "$(session_of "$1")/env"
    roaming=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)/Quenmark/Vantorra
}

# Seconds of a skip-mode start; the launcher's are net of its 500 ms launch check.
time_skip() {
    local exe=$1 ini=$2 check=0 taken
    stop_games
    cp "$ini" "$roaming/vantorra.ini"
    sync "$roaming/vantorra.ini"
    [ "$exe" = VantorraLauncher.exe ] && check=0.5
    taken=$("$benchtime" exit "$WINE" "$exe" -SKIP_LAUNCHER) || { echo "$exe failed" >&2; exit 1; }
    calc "$taken - $check"
}

report() {
    local name=$1 ours=$2 floor=$3 goal=$4 a b
    read -r a a1 a3 < <(quartiles "$ours")
    read -r b b1 b3 < <(quartiles "$floor")
    printf '%-24s %-18s %.3f s (%.3f-%.3f)   %-18s %.3f s (%.3f-%.3f)   ratio %.2f (goal %s)\n' \
        "$name" "${ours%.txt}" "$a" "$a1" "$a3" "${floor%.txt}" "$b" "$b1" "$b3" \
        "$(calc "$a / $b")" "$goal"
}

# Files of the skip-mode starts: a small vantorra.ini whose managed lines a save rewrites,
# and a large one of 1.2 million lines of mods' keys.
make_configs() {
    printf '// Vantorra\r\nWindow=1\r\nResolution=1280x720\r\nAdapter=0\r\nStartUpperPos=0 0\r\nGamma 1.2\r\nVolume 80\r\n' >small.ini
    awk 'BEGIN {
        srand(7); ORS = "\r\n"
        for (i = 0; size < 25000000; i++) {
            if (i == 100) line = "Window=1"
            else if (i == 5000) line = "Resolution=1920x1080"
            else if (i == 600000) line = "Adapter=0"
            else if (i % 50 == 0) line = "// section " i
            else line = sprintf("Mod%05d.K%d=%d", i % 40000, i % 7, int(rand() * 1000000))
            print line; size += length(line) + 2
        }
    }' >large.ini
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
    cp "${VANTORRA_BENCH_LAUNCHER:-$build/VantorraLauncher.exe}" "$folder/VantorraLauncher.exe"
    cp "$build/tools/bench/"*.exe "$folder/"
    cp "$build/tests/FakeGame$bits.exe" "$folder/Vantorra.exe"
    # A started game waits without a window, so that it competes as little as possible with
    # the next measurement.
    export FAKEGAME_MODE=windowless FAKEGAME_LIFETIME_MS=60000
    cd "$folder"
    make_configs
    # Windows always has its desktop; Wine starts its desktop process with the first window
    # and ends it after the last. A hidden window in another folder keeps it for the whole run,
    # so neither program of a pair pays for it.
    mkdir -p keeper
    cp Vantorra.exe keeper/DesktopKeeper.exe
    local scale
    for scale in $scales; do
        "$root/tools/wine-session.sh" start "$(session_of "$scale")" win64 "$arch" "$scale"
        enter_session "$scale"
        mkdir -p "$roaming"
        cp small.ini "$roaming/vantorra.ini"
        (cd keeper && FAKEGAME_MODE=hidden FAKEGAME_LIFETIME_MS=3600000 "$WINE" DesktopKeeper.exe >/dev/null 2>&1 &)
        sleep 2
        # Warm up: the first start of anything pays for loading Wine's own DLLs.
        time_to_window MinimalWindow.exe MinimalWindow >/dev/null
        time_frames PictureWindow.exe PictureWindow >/dev/null
        time_frames VantorraLauncher.exe Vantorra >/dev/null
        : >"launcher-$scale.txt"; : >"picture-$scale.txt"; : >"minimal-$scale.txt"
    done

    # The scales in turn, so that both see the machine alike.
    for _ in $(seq 1 "$runs"); do
        for scale in $scales; do
            enter_session "$scale"
            time_frames VantorraLauncher.exe Vantorra >>"launcher-$scale.txt"
            time_frames PictureWindow.exe PictureWindow >>"picture-$scale.txt"
            time_to_window MinimalWindow.exe MinimalWindow >>"minimal-$scale.txt"
        done
    done
    for scale in $scales; do
        for program in launcher picture; do
            cut -d' ' -f1 "$program-$scale.txt" >"$program-$scale-map.txt"
            cut -d' ' -f2 "$program-$scale.txt" >"$program-$scale-finished.txt"
        done
    done

    # Skip mode does not depend on the scale.
    enter_session 96
    time_skip SettingsSaver.exe small.ini >/dev/null
    time_skip VantorraLauncher.exe large.ini >/dev/null
    : >launcher-skip.txt; : >saver-skip.txt; : >starter-skip.txt; : >minimal-skip.txt
    for _ in $(seq 1 "$runs"); do
        time_skip VantorraLauncher.exe small.ini >>launcher-skip.txt
        time_skip SettingsSaver.exe small.ini >>saver-skip.txt
        time_skip SettingsStarter.exe small.ini >>starter-skip.txt
        time_skip MinimalStarter.exe small.ini >>minimal-skip.txt
    done
    : >launcher-skip-large.txt; : >launcher-skip-small.txt
    for _ in $(seq 1 "$runs"); do
        time_skip VantorraLauncher.exe large.ini >>launcher-skip-large.txt
        time_skip VantorraLauncher.exe small.ini >>launcher-skip-small.txt
    done
    stop_games

    echo "The $arch build ($preset), medians (quartiles) of $runs runs each:"
    for scale in $scales; do
        report "map, $scale DPI" "launcher-$scale-map.txt" "minimal-$scale.txt" "none, reference"
        report "map, $scale DPI" "launcher-$scale-map.txt" "picture-$scale-map.txt" "none, reference"
        report "finished, $scale DPI" "launcher-$scale-finished.txt" "picture-$scale-finished.txt" \
            "$([ "$scale" = 96 ] && echo "<= 1.25" || echo "none, reference")"
    done
    report "finished, 144 vs 96 DPI" launcher-144-finished.txt launcher-96-finished.txt "<= 1.1"
    for scale in $scales; do
        printf '%-24s launcher %d, PictureWindow %d in %d starts each (goal 0)\n' \
            "other frames, $scale DPI" \
            "$(awk '{ n += $3 } END { print n + 0 }' "launcher-$scale.txt")" \
            "$(awk '{ n += $3 } END { print n + 0 }' "picture-$scale.txt")" "$runs"
    done
    report "skip mode" launcher-skip.txt saver-skip.txt "<= 1.1"
    report "skip mode" launcher-skip.txt starter-skip.txt "none, reference"
    report "skip mode, bare start" launcher-skip.txt minimal-skip.txt "none, reference"
    report "skip mode, 25 MB file" launcher-skip-large.txt launcher-skip-small.txt "none"
    read -r large _ < <(quartiles launcher-skip-large.txt)
    read -r small _ < <(quartiles launcher-skip-small.txt)
    printf '%-24s %.3f s more for the 25 MB file (goal <= 0.3 s)\n' "skip mode, 25 MB file" \
        "$(calc "$large - $small")"
    size=$(stat -c %s VantorraLauncher.exe)
    echo "VantorraLauncher.exe: $size bytes ($((size / 1024)) KiB); sections:"
    "$objdump" -h VantorraLauncher.exe | awk '$2 ~ /^\./ { print $2, $3 }' |
        while read -r section hex; do printf '  %-8s %7d bytes\n' "$section" "$((16#$hex))"; done
    echo "Imports: $("$objdump" -p VantorraLauncher.exe |
        awk '/DLL Name/ { printf "%s ", $3 }')"
    stop_games
    cd "$root"
    stop_sessions
}

for arch in $archs; do
    bench_arch "$arch"
done
