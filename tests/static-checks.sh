#!/bin/sh
# Static checks: every source follows .clang-format, and the product code is
# clean under the checks of .clang-tidy. Uses the compile commands of the
# given build tree (default: build); options only the build's compiler knows
# are passed over.
set -eu
build=${1:-build}
cd "$(dirname "$0")/.."

git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "clang-format: all sources follow the format"

# The Windows sources are not in a Linux build's compile commands.
git ls-files 'adapter/*.cpp' 'device/*.cpp' 'console/*.cpp' | grep -v '/Windows[^/]*\.cpp$' |
  xargs -P2 -n4 clang-tidy -p "$build" --quiet --extra-arg=-Wno-unknown-warning-option 2>/dev/null
echo "clang-tidy: no findings"
