#!/usr/bin/env bash
# Everything the tests need, from a fresh Debian 12 machine: set-up, build, then every
# test under Wine (ctest makes and removes its own Wine prefix and Xvfb display).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh
cmake --preset release
cmake --build --preset release
ctest --preset release
