#!/usr/bin/env bash
# Two launchers started from one folder at random gaps of 0 to 300 ms, round after
# round, in a Wine session of its own; reports how often exactly one launcher window
# remained. Not part of the test command: it takes a minute or two.
#   race-launchers.sh [build-dir, default: the build this machine tests] [rounds, default 20]
#                     [seed] [max gap in ms, default 300]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/wine-arch.sh
. "$root/tools/wine-arch.sh"
choose_wine_arch
build=$(cd "${1:-$root/build/$(wine_arch_preset)}" && pwd)
rounds=${2:-20}
seed=${3:-$RANDOM$RANDOM}
maxGap=${4:-300}
probe=$build/tests/RaceProbe.exe
[ -f "$probe" ] || { echo "no $probe: build the tree first" >&2; exit 2; }

session=$build/race-session
trap '"$root/tools/wine-session.sh" stop "$session"' EXIT
"$root/tools/wine-session.sh" start "$session" win64 "$(pe_arch "$probe")"
"$root/tools/wine-run.sh" "$session" "$probe" "$rounds" "$maxGap" "$seed" 4000
