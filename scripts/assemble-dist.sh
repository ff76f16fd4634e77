#!/usr/bin/env bash
# Lays out dist/: the sample package folder with the built deliverables in it, and the Linux tool.
#   dist/installer.exe, dist/uninstall.exe       the 32-bit programs (they run on 32- and 64-bit Windows)
#   dist/ZnUsbInt.dll, dist/UsbPrnLink.dll       the USB helper libraries the installer loads (32-bit)
#   dist/Driver/x86/, dist/Driver/x64/           the built libraries per word size (MQ450UI.dll, port monitors,
#                                                the driver-log viewer)
#   dist/W32/, dist/W64/                         every driver file the installer copies, per word size: the
#                                                built libraries, Driver/common and the plug-in's Driver/UI files
#   dist/mq450                                   the Linux tool
# and then the release archive build/MQ450-package-<version>.zip of the package folder (scripts/package-archive.py
# says what it holds; the version is the one in the file VERSION).
# Every artefact is listed with the place its build puts it; a missing one stops the run with its name, so a
# package is never assembled without a deliverable.
set -euo pipefail
cd "$(dirname "$0")/.."

# The built libraries of each word size, relative to its build folder.
libraries=(
  plugin/win32/MQ450UI.dll
  installer/ZNTCOMMON.DLL
  installer/ZNTUSBMON.DLL
  installer/ZNTDriverlogViewer.exe
)
# The programs and the USB helper libraries the installer loads from its own folder, from the x86 build.
programs=(
  installer/installer.exe
  uninstall/uninstall.exe
  usbhelpers/ZnUsbInt.dll
  usbhelpers/UsbPrnLink.dll
)
tool=build/native/tools/mq450/mq450

# Where each word size's deliverables are built: the x64 ones by the nested build of the x64 test build.
deliverables() { [ "$1" = x86 ] && echo build/mingw-x86 || echo build/mingw-x64/ship; }

missing=0
need() {
  if [ ! -f "$1" ]; then
    echo "assemble-dist: missing $1 (build the presets first: bash scripts/build.sh)" >&2
    missing=1
  fi
}
for arch in x86 x64; do
  for f in "${libraries[@]}"; do need "$(deliverables "$arch")/$f"; done
done
for f in "${programs[@]}"; do need "build/mingw-x86/$f"; done
need "$tool"
[ "$missing" -eq 0 ] || exit 1

rm -rf dist
mkdir -p dist
cp -r package/. dist/
rm -rf dist/tools
for arch in x86 x64; do
  words=$([ "$arch" = x86 ] && echo W32 || echo W64)
  mkdir -p "dist/Driver/$arch" "dist/$words"
  for f in "${libraries[@]}"; do cp "$(deliverables "$arch")/$f" "dist/Driver/$arch/"; done
  cp dist/Driver/common/* dist/Driver/UI/* "dist/$words/"
  # The built files last: the built viewer replaces the source package's placeholder of the same name.
  cp "dist/Driver/$arch/"* "dist/$words/"
done
for f in "${programs[@]}"; do cp "build/mingw-x86/$f" dist/; done
cp "$tool" dist/
echo "dist/ assembled"
python3 scripts/package-archive.py dist VERSION build
