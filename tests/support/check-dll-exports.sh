#!/usr/bin/env bash
# check-dll-exports.sh "NAME NAME ..." DLL...: each DLL exports exactly these names (undecorated, in any order)
# and imports no MinGW runtime DLL. objdump reads both PE32 and PE32+ files.
set -u
expected=$(echo "$1" | tr ' ' '\n' | sed '/^$/d' | sort | tr '\n' ' ')
shift
status=0
for dll in "$@"; do
  if [ ! -f "$dll" ]; then
    echo "missing: $dll (build the mingw-x64 and mingw-x86 presets first)"
    status=1
    continue
  fi
  dump=$(x86_64-w64-mingw32-objdump -p "$dll")
  exports=$(echo "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&/^[ \t]*\[/{print $NF} f&&!/^[ \t]*\[/{f=0}' | sort | tr '\n' ' ')
  if [ "$exports" != "$expected" ]; then
    echo "$dll exports [$exports], expected [$expected]"
    status=1
  fi
  imports=$(echo "$dump" | awk '/DLL Name:/{print tolower($3)}')
  if echo "$imports" | grep -E -q 'libstdc|libgcc|libwinpthread'; then
    echo "$dll needs a MinGW runtime DLL: $imports"
    status=1
  fi
  echo "$dll: exports [$exports] imports [$(echo $imports)]"
done
exit $status
