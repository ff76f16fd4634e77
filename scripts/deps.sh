#!/usr/bin/env bash
# Installs every Debian package the builds and tests need. Safe to run again: it asks apt only when something
# is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-x86-64
  binutils-mingw-w64-i686
  wine wine64 xvfb xauth imagemagick fonts-wqy-microhei
  libpng-dev clang libclang-rt-14-dev hyperfine python3 libzint-dev zbar-tools
  libfreetype-dev fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
