#!/usr/bin/env bash
# Runs a Windows program inside the test session made by wine-session.sh.
#   wine-run.sh [--needs-32bit] SESSION-DIR PROGRAM [ARGS...]
# --needs-32bit: the test needs a 32-bit process somewhere (the program itself or one it
# starts); where the 32-bit Wine loader cannot start, it is reported to ctest as skipped.
set -uo pipefail
if [ "${1:-}" = --needs-32bit ]; then
    shift
    # shellcheck source=tools/wine-arch.sh
    . "$(dirname "$0")/wine-arch.sh"
    if ! probe=$("$wine_loader32" --version 2>&1); then
        exec "$(dirname "$0")/skip-test.sh" \
            "needs a 32-bit process, and the 32-bit Wine loader cannot start here (${probe##*: })"
    fi
fi
dir=${1:?usage: wine-run.sh [--needs-32bit] SESSION-DIR PROGRAM [ARGS...]}
shift
# shellcheck disable=SC1091
. "$dir/env"
# A test's own DLL load orders (ctest's ENVIRONMENT), e.g. a stand-in system DLL: Wine takes
# them from the environment a process starts with, never from one a Windows program sets.
if [ -n "${VANTORRA_DLL_OVERRIDES:-}" ]; then
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$VANTORRA_DLL_OVERRIDES"
fi
# Wine's helper processes (the desktop, started games) outlive the program; give them a
# file rather than our caller's pipe, or ctest would wait for them until its time-out.
out=$(mktemp)
"$WINE" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
