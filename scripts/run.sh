#!/usr/bin/env bash
# Installs what is missing, builds Quillet and starts it: scripts/run.sh [directory]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF >/dev/null
cmake --build "$here/build" -j"$(nproc)" --target quillet
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Quillet needs a graphical display, but neither DISPLAY nor WAYLAND_DISPLAY is set." >&2
  echo "Start it from a desktop session, or inside a virtual one: xvfb-run -a scripts/run.sh [directory]" >&2
  exit 1
fi
exec "$here/build/quillet" "$@"
