#!/bin/sh
# Builds everything and runs every test: once as released, the static checks,
# once under AddressSanitizer and UndefinedBehaviorSanitizer, a short run of
# each fuzz target, and the Windows build under Wine.
set -eu
cd "$(dirname "$0")/.."
cmake --workflow --preset default
tests/static-checks.sh build
cmake --workflow --preset sanitize
tests/fuzz/run.sh 60
cmake --workflow --preset windows
