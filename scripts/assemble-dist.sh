#!/usr/bin/env bash
# Lays out dist/: the sample package folder with the x86 and x64 deliverables in it, and the Linux tool.
set -euo pipefail
cd "$(dirname "$0")/.."

rm -rf dist
mkdir -p dist
cp -r package/. dist/
for arch in x86 x64; do
  build="build/mingw-$arch"
  mkdir -p "dist/bin/$arch"
  for f in MQ450UI.dll installer.exe uninstall.exe; do
    found=$(find "$build" -maxdepth 3 -name "$f" -print -quit)
    [ -n "$found" ] && cp "$found" "dist/bin/$arch/"
  done
done
[ -x build/native/tools/mq450/mq450 ] && cp build/native/tools/mq450/mq450 dist/
echo "dist/ assembled"
