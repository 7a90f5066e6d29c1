#!/usr/bin/env bash
# A ctest case that cannot run on this path: prints why and exits with the code the
# tests' SKIP_RETURN_CODE names, so ctest reports it as skipped, never as passed.
# tools/test.sh lists these lines after the run.
echo "SKIPPED: ${1:?usage: skip-test.sh REASON}"
exit 77
