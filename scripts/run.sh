#!/usr/bin/env bash
# Sets up the machine, builds the optimised program and starts it (the Qt
# program, build/release/src/app/qt/lumistra; it needs a desktop session).
# Without one it still builds, then says how to start it and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
program=build/release/src/app/qt/lumistra
if [ ! -x "$program" ]; then
  echo "The program was not built: Qt 6 (qt6-base-dev) was not found." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Built $program, but it needs a desktop session (DISPLAY or WAYLAND_DISPLAY); start it from one, or on a virtual display with: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
exec "$program" "$@"
