#!/usr/bin/env bash
# Launchers started from one folder at random gaps of 0 to 300 ms, round after round, in a
# Wine session of its own: two at a time, three at a time, and two of which one is killed
# or frozen (as a hang would stop it) while it starts. Prints every round and, for each
# kind, the counts: exactly one launcher window or the game, nothing, two windows at once,
# a window shown and taken away. Not part of the test command (the tests run a few dozen
# rounds): 500 rounds of each kind take about an hour.
#   race-launchers.sh [build-dir, default: the build this machine tests] [rounds, default 20]
#                     [seed] [max gap in ms, default 300] [kinds, default "two three kill freeze"]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/wine-arch.sh
. "$root/tools/wine-arch.sh"
choose_wine_arch
build=$(cd "${1:-$root/build/$(wine_arch_preset)}" && pwd)
rounds=${2:-20}
seed=${3:-$RANDOM$RANDOM}
maxGap=${4:-300}
kinds=${5:-two three kill freeze}
probe=$build/tests/RaceProbe.exe
[ -f "$probe" ] || { echo "no $probe: build the tree first" >&2; exit 2; }

session=$build/race-session
trap '"$root/tools/wine-session.sh" stop "$session"' EXIT
"$root/tools/wine-session.sh" start "$session" win64 "$(pe_arch "$probe")"
summary=$(mktemp)
status=0
for kind in $kinds; do
    "$root/tools/wine-run.sh" "$session" "$probe" "$kind" "$rounds" "$maxGap" "$seed" |
        tee >(grep -a "^$kind: $rounds rounds;" >>"$summary") || status=1
done
sleep 1 # the last summary line through tee
echo
echo "Summary (seed $seed):"
cat "$summary"
rm -f "$summary"
exit $status
