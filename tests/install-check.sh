#!/bin/sh
# Installs the build tree to a temporary prefix, builds the example against
# the installation with CMake and with pkg-config, and runs both builds and
# the installed program over the simulated module.
set -eu
build=${1:-build}
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null

cmake -S examples -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
"$work/cmake-build/orvex-info" | grep -q "^Product: "

libdir=$(dirname "$(find "$prefix" -name orvex.pc)")
PKG_CONFIG_PATH=$libdir cc examples/orvex-info.c \
  $(PKG_CONFIG_PATH=$libdir pkg-config --cflags --libs orvex) \
  -Wl,-rpath,"$(dirname "$libdir")" -o "$work/orvex-info-pc"
"$work/orvex-info-pc" | grep -q "^Ch Y: LPF "

# The installed program finds its libraries through its own location.
printf 'v\033' | env -u LD_LIBRARY_PATH "$prefix/bin/Orvex-Test" -q | grep -q "^Firmware version: "
# The installed Python package finds the installed libraries by itself.
package=$(find "$prefix" -path '*/orvex/__init__.py')
[ -n "$package" ] || { echo "the Python package orvex was not installed"; exit 1; }
(cd "$work" && env -u LD_LIBRARY_PATH -u ORVEX_LIBRARY PYTHONDONTWRITEBYTECODE=1 \
  PYTHONPATH="$(dirname "$(dirname "$package")")" "${ORVEX_PYTHON:-python3}" -c '
import orvex
module = orvex.open()
assert module.present(), "no module"
print("Library:", orvex.library_path())
print("Product:", module.product_id)') >"$work/python.out"
grep -q "^Library: $prefix/" "$work/python.out"
grep -q "^Product: ." "$work/python.out"
if [ -f "$prefix/share/man/man1/Orvex-Test.1" ] && command -v man >/dev/null; then
  out=$(MANWIDTH=80 man -l "$prefix/share/man/man1/Orvex-Test.1" 2>&1 >/dev/null)
  [ -z "$out" ] || { echo "man page warnings: $out"; exit 1; }
fi
echo "install check passed"
