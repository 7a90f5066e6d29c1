#!/usr/bin/env bash
# The set-up's decisions, with stand-in apt-get, dpkg-query and dpkg on PATH: a package list
# that fails, a 32-bit set that cannot be had, a 64-bit package that cannot be had.
set -uo pipefail
setup=$(cd "$(dirname "$0")/../.." && pwd)/tools/setup.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# Each stand-in logs its call; the case's variables decide what it answers.
cat >"$work/bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STANDIN_DIR/calls"
if [ "$1" = update ]; then
    count=$(($(cat "$STANDIN_DIR/updates" 2>/dev/null || echo 0) + 1))
    echo "$count" >"$STANDIN_DIR/updates"
    if [ "$count" -le "$UPDATE_FAILS" ]; then
        echo "Err:6 http://mirror/security i386 Packages"
        echo "E: Failed to fetch http://mirror/security/binary-i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?"
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
        exit 100
    fi
    exit 0
fi
if [ -n "$INSTALL_FAILS" ] && [[ " $* " == *" $INSTALL_FAILS "* ]]; then
    echo "The following packages have unmet dependencies:"
    echo " $INSTALL_FAILS : Depends: libstandin (= 2) but it is not going to be installed"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
fi
exit 0
STANDIN
cat >"$work/bin/dpkg-query" <<'STANDIN'
#!/usr/bin/env bash
package=${!#}
[ "$INSTALLED" = all ] || [[ " $INSTALLED " == *" $package "* ]] && printf 'install ok installed'
exit 0
STANDIN
cat >"$work/bin/dpkg" <<'STANDIN'
#!/usr/bin/env bash
echo "dpkg $*" >>"$STANDIN_DIR/calls"
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
STANDIN
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*

failures=0
# name | installed | update fails | install fails | exit | output must match | calls must match | calls must not match
while IFS='|' read -r name installed update_fails install_fails want_exit want_output want_calls no_calls; do
    [ -z "$name" ] && continue
    case_dir=$work/$name
    mkdir "$case_dir"
    touch "$case_dir/calls"
    output=$(STANDIN_DIR=$case_dir INSTALLED=$installed UPDATE_FAILS=$update_fails \
        INSTALL_FAILS=$install_fails VANTORRA_SETUP_UPDATE_PAUSE=0 PATH="$work/bin:$PATH" \
        TMPDIR=$case_dir "$setup" 2>&1)
    status=$?
    # Lines joined by "~", so that one pattern can say what comes before what.
    output=$(echo "$output" | tr '\n' '~')
    calls=$(tr '\n' '~' <"$case_dir/calls")
    problems=()
    [ "$status" = "$want_exit" ] || problems+=("exit $status, not $want_exit")
    [[ "$output" =~ $want_output ]] || problems+=("output does not match /$want_output/")
    [ -z "$want_calls" ] || [[ "$calls" =~ $want_calls ]] || problems+=("calls do not match /$want_calls/")
    [ -z "$no_calls" ] || ! [[ "$calls" =~ $no_calls ]] || problems+=("calls match /$no_calls/")
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok: $name"
    else
        failures=$((failures + 1))
        echo "FAILED: $name: ${problems[*]}"
        echo "    output: $output"
        echo "    calls: $calls"
    fi
done <<'CASES'
nothing missing|all|0||0|^~?$||apt-get
list fails then succeeds|cmake|2||0|^Set-up: updating[^~]*~Set-up: installing|^dpkg[^~]*~(apt-get update[^~]*~){3}apt-get install[^~]* wine64 [^~]*~apt-get install[^~]* wine32:i386|(apt-get update[^~]*~){4}
list keeps failing|none|9||0|a package list failed 3 times, going on with the lists apt has: http://mirror/security/binary-i386/Packages.xz [^~]*~Set-up: installing|install[^~]* wine64 [^~]*~apt-get install[^~]* wine32:i386|
32-bit set cannot be had|cmake|0|wine32:i386|0|32-bit set could not be installed, so the Wine tests and the demo take the x64 path: wine32:i386 : Depends: libstandin|install[^~]* wine64 [^~]*~apt-get install[^~]* wine32:i386|
64-bit package cannot be had|cmake|0|wine64|1|Set-up failed: the 64-bit packages could not be installed: wine64 : Depends: libstandin|install[^~]* wine64|wine32
CASES
echo "$((5 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
