#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root.
# Idempotent and quiet: it runs apt-get only for packages that are missing,
# with their recommended packages (Wine and Qt run as tested with them).
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libbenchmark-dev libpng-dev
  qt6-base-dev libx11-dev
  clang libclang-rt-14-dev locales
  g++-mingw-w64-x86-64 wine64
  fonts-wine libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxinerama1 libxcomposite1
  xvfb xauth xdotool imagemagick libxtst-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi
