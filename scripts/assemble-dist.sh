#!/usr/bin/env bash
# Lays out dist/: the sample package folder with the built deliverables in it, and the Linux tool.
#   dist/installer.exe, dist/uninstall.exe       the 32-bit programs (they run on 32- and 64-bit Windows)
#   dist/Driver/x86/, dist/Driver/x64/           the built libraries per word size (MQ450UI.dll, port monitors)
#   dist/W32/, dist/W64/                         every driver file the installer copies, per word size: the
#                                                built libraries, Driver/common and the plug-in's Driver/UI files
set -euo pipefail
cd "$(dirname "$0")/.."

rm -rf dist
mkdir -p dist
cp -r package/. dist/
rm -rf dist/tools
for arch in x86 x64; do
  build="build/mingw-$arch"
  words=$([ "$arch" = x86 ] && echo W32 || echo W64)
  mkdir -p "dist/Driver/$arch" "dist/$words"
  for f in MQ450UI.dll ZNTCOMMON.DLL ZNTUSBMON.DLL; do
    found=$(find "$build" -maxdepth 3 -name "$f" -print -quit 2>/dev/null || true)
    [ -n "$found" ] && cp "$found" "dist/Driver/$arch/"
  done
  cp dist/Driver/common/* dist/Driver/UI/* "dist/$words/"
  cp dist/Driver/$arch/* "dist/$words/" 2>/dev/null || true
done
for f in installer.exe uninstall.exe; do
  found=$(find build/mingw-x86 -maxdepth 3 -name "$f" -print -quit 2>/dev/null || true)
  [ -n "$found" ] && cp "$found" dist/
done
[ -x build/native/tools/mq450/mq450 ] && cp build/native/tools/mq450/mq450 dist/
echo "dist/ assembled"
