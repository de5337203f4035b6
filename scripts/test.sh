#!/usr/bin/env bash
# Sets up everything, builds (Debug, AddressSanitizer + UndefinedBehaviorSanitizer) and runs
# every test, plus a short smoke run of each fuzz target. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/ensure-packages.sh

jobs=$(nproc)
build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DORVANI_SANITIZE=ON -DORVANI_TESTS=ON > /dev/null
cmake --build "$build" -j "$jobs"
(cd "$build" && ctest --output-on-failure -j "$jobs")

bash scripts/fuzz.sh smoke
