#!/usr/bin/env bash
# Everything the tests need, from a fresh Debian 12 machine: set-up, build, then every
# test under Wine (ctest makes and removes its own Wine prefix and Xvfb display).
#
# Where the 32-bit Wine loader runs, the tests run against the shipped 32-bit build.
# Where it cannot (a kernel without 32-bit support), the 32-bit build is still built and
# the checks that only read its executable run on it; the Wine suites then run against
# the x86_64 build under 64-bit Wine. VANTORRA_TEST_ARCH=x86|x64 forces a path.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
# shellcheck source=tools/wine-arch.sh
. tools/wine-arch.sh
choose_wine_arch
echo "Test path: $wine_arch, because $wine_arch_why."

# The whole suite on one build, then the tests it skipped on this path and why.
run_tests() {
    local status=0
    ctest --preset "$1" || status=$?
    awk '/^[0-9]+\/[0-9]+ Testing: / { test = $3 }
         /^SKIPPED: / { sub(/^SKIPPED: /, ""); print "Skipped " test ": " $0 }' \
        "build/$1/Testing/Temporary/LastTest.log"
    return $status
}

cmake --preset release
cmake --build --preset release
if [ "$wine_arch" = x86 ]; then
    run_tests release
    exit
fi

echo "The 32-bit build: the checks that read its executable."
ctest --preset release --label-regex executable
cmake --preset release-x64
cmake --build --preset release-x64
echo "The x64 build: every test under 64-bit Wine."
run_tests release-x64
