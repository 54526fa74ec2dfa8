#!/usr/bin/env bash
# Installs what the build, the tests and the packages need on Debian 12.
# Idempotent and quiet: it runs apt-get only for packages that are missing,
# with their recommended packages (Wine and Qt run as tested with them).
# As root it calls apt-get itself; as any other user it goes through sudo and
# says so first (without sudo it says what to run as root, and stops). On a system without apt-get it names the packages it needs
# and stops, installing nothing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config git
  libstb-dev
  libgtest-dev libbenchmark-dev libpng-dev
  qt6-base-dev libx11-dev
  clang libclang-rt-14-dev locales
  g++-mingw-w64-x86-64 wine64
  fonts-wine libxrender1 libxrandr2 libxi6 libxcursor1 libxfixes3 libxinerama1 libxcomposite1
  xvfb xauth xdotool imagemagick libxtst-dev
  dpkg-dev lintian desktop-file-utils appstream shared-mime-info xdg-utils file
  nsis zip
)

if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
  echo "This system has no apt-get: Lumistra's scripts install their tools on Debian 12 only." >&2
  echo "Install these packages (Debian names) with your system's own tools, then build with CMake:" >&2
  echo "  ${packages[*]}" >&2
  exit 1
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == *"install ok installed"* ]] || missing+=("$p")
done
((${#missing[@]})) || exit 0

as_root=()
if [[ $(id -u) != 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "Some packages are missing and sudo is not installed to install them. As root, run:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing the missing packages through sudo (you may be asked for your password): ${missing[*]}"
  as_root=(sudo)
else
  echo "Installing: ${missing[*]}"
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
