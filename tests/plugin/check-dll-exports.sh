#!/usr/bin/env bash
# Checks each MQ450UI.dll given: exactly DllGetClassObject and DllCanUnloadNow exported by name, and no MinGW
# runtime DLL among its imports.
set -u
status=0
for dll in "$@"; do
  if [ ! -f "$dll" ]; then
    echo "missing: $dll (build all presets first)"
    status=1
    continue
  fi
  exports=$(x86_64-w64-mingw32-objdump -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&/^[ \t]*\[/{print $NF} f&&!/^[ \t]*\[/{f=0}' | sort | tr '\n' ' ')
  if [ "$exports" != "DllCanUnloadNow DllGetClassObject " ]; then
    echo "$dll exports: $exports"
    status=1
  fi
  imports=$(x86_64-w64-mingw32-objdump -p "$dll" | awk '/DLL Name:/{print tolower($3)}')
  if echo "$imports" | grep -E -q 'libstdc|libgcc|libwinpthread'; then
    echo "$dll needs a MinGW runtime DLL: $imports"
    status=1
  fi
  echo "$dll: exports [$exports] imports [$(echo $imports)]"
done
exit $status
