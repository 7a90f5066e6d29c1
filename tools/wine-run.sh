#!/usr/bin/env bash
# Runs a Windows program inside the test session made by wine-session.sh.
set -uo pipefail
dir=${1:?usage: wine-run.sh SESSION-DIR PROGRAM [ARGS...]}
shift
# shellcheck disable=SC1091
. "$dir/env"
# Wine's helper processes (the desktop, started games) outlive the program; give them a
# file rather than our caller's pipe, or ctest would wait for them until its time-out.
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
