#!/usr/bin/env bash
# Sets up, builds (Release) and starts Orvani. Without a display it starts the program on a
# virtual display, saves a screenshot to build/orvani.png and ends the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/ensure-packages.sh

build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANI_TESTS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)"
program="$build/orvani"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi

echo "No display: starting Orvani on a virtual display."
shot="$root/build/orvani.png"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  "$1" & pid=$!
  sleep 3
  import -window root "$2"
  kill -TERM "$pid"
  wait "$pid" || true
' _ "$program" "$shot"
echo "Screenshot: $shot"
