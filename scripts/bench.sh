#!/usr/bin/env bash
# Builds (Release) and runs every benchmark; each prints our figures beside its peer's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/ensure-packages.sh
bash scripts/ensure-packages.sh scripts/packages-bench.txt

build=build/bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANI_TESTS=OFF -DORVANI_BENCH=ON > /dev/null
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
for b in "$build"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue # skip the *_autogen folders
  echo "== $(basename "$b")"
  "$b" "$@"
done
echo "== idle wake-ups"
bash bench/IdleWakeups.sh "$build/orvani" "${IDLE_SECONDS:-60}"
