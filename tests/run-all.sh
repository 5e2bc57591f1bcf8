#!/bin/sh
# Builds everything and runs every test: once as released, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -eu
cd "$(dirname "$0")/.."
cmake --workflow --preset default
cmake --workflow --preset sanitize
tests/fuzz/run.sh 60
