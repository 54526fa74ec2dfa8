#!/usr/bin/env bash
# Sets up the machine, builds the optimised program and starts it (the Qt
# program, build/release/src/app/qt/lumistra; it needs a desktop session).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
if [ -x build/release/src/app/qt/lumistra ]; then
  exec build/release/src/app/qt/lumistra
fi
echo "The program was not built: Qt 6 (qt6-base-dev) was not found." >&2
exit 1
