#!/usr/bin/env bash
# Sets up the machine, builds the optimised programs and makes the packages
# in dist/: dist/lumistra_<version>_amd64.deb (the version is the project's,
# from CMake), then dist/lumistra-<version>-setup.exe and
# dist/lumistra-<version>-windows-x64.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"

# The Debian package, by CPack from every install() rule of the project.
packages=build/release/packages
rm -rf "$packages"
cpack --config build/release/CPackConfig.cmake -G DEB -B "$packages" >/dev/null
mkdir -p dist
deb=$(find "$packages" -maxdepth 1 -name 'lumistra_*.deb')
cp "$deb" dist/
echo "Made dist/$(basename "$deb")"
# Debian's own checks: errors fail the packaging, warnings are shown.
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "dist/$(basename "$deb")"
fi

# The Windows setup and zip, from the Windows programs the release build
# cross-built beside the Linux ones.
packaging/windows/make_packages.sh build/release/windows dist
