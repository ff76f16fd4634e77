#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine and builds everything: the native build (portable core, unit tests, mq450
# tool), the Windows deliverables for x64 and x86, and the package folder dist/. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
for preset in native mingw-x64 mingw-x86; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
bash scripts/assemble-dist.sh
