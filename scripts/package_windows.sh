#!/usr/bin/env bash
# Builds the Windows program (the "windows" preset, build/windows) and makes
# its setup program and portable zip in dist/:
#   dist/lumistra-<version>-setup.exe, dist/lumistra-<version>-windows-x64.zip
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)"
packaging/windows/make_packages.sh build/windows dist
