#!/bin/sh
# Installs the Windows build to a temporary prefix and checks what lands
# where: the DLLs and the program in bin, the import libraries in lib, the
# headers in include; and that nothing there needs a runtime DLL that does
# not come with Windows.
# Usage: install-layout.sh <build tree> <objdump>
set -eu
build=$1
objdump=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failed=0
for file in bin/Orvex.dll bin/Tarvish.dll bin/Orvex-Test.exe lib/Orvex.lib lib/Tarvish.lib \
  include/Orvex.h include/Tarvish.h; do
  if [ ! -f "$prefix/$file" ]; then
    echo "missing: $file"
    failed=1
  fi
done
for stray in $(cd "$prefix" && find . -name 'lib*.dll' -o -name 'lib*.dll.a'); do
  echo "prefixed artefact: $stray"
  failed=1
done

# Imports allowed: the system's own DLLs and our two.
for binary in bin/Orvex.dll bin/Tarvish.dll bin/Orvex-Test.exe; do
  imports=$("$objdump" -p "$prefix/$binary" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u)
  for dll in $imports; do
    case $(echo "$dll" | tr 'A-Z' 'a-z') in
      kernel32.dll | msvcrt.dll | winmm.dll | user32.dll | advapi32.dll) ;;
      orvex.dll | tarvish.dll) ;;
      *)
        echo "$binary imports $dll, which does not come with Windows"
        failed=1
        ;;
    esac
  done
done
# The program binds to both libraries by name.
"$objdump" -p "$prefix/bin/Orvex-Test.exe" | grep -q 'DLL Name: Orvex.dll' || {
  echo "Orvex-Test.exe does not import Orvex.dll"
  failed=1
}
"$objdump" -p "$prefix/bin/Orvex.dll" | grep -q 'DLL Name: Tarvish.dll' || {
  echo "Orvex.dll does not import Tarvish.dll"
  failed=1
}
[ $failed -eq 0 ] && echo "installation layout as expected"
exit $failed
