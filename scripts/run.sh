#!/usr/bin/env bash
# Sets up the machine, builds the optimised program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
if [ -x build/release/src/app/qt/lumistra ]; then
  exec build/release/src/app/qt/lumistra
fi
echo "Built. The window does not exist yet; run scripts/test.sh for the tests."
