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
# The Windows tests keep one Wine server for their whole run; it ends with
# them, however they end.
trap 'WINEPREFIX="$PWD/build-windows/wine-prefix" wineserver -k 2>/dev/null || :' EXIT
cmake --workflow --preset windows
