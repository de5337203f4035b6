#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each one.
#   scripts/fuzz.sh smoke      a few seconds per target (part of scripts/test.sh)
#   scripts/fuzz.sh [SECONDS]  a longer run per target (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/ensure-packages.sh

seconds=${1:-60}
[ "$seconds" = smoke ] && seconds=5

build=build/fuzz
CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANI_FUZZ=ON -DORVANI_TESTS=OFF > /dev/null
cmake --build "$build" -j "$(nproc)"

shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
for target in "${targets[@]}"; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/${name#fuzz_}" ] && seeds=("fuzz/seeds/${name#fuzz_}")
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=0 "$corpus" "${seeds[@]}" 2> "$build/$name.log" \
    || { tail -n 60 "$build/$name.log"; echo "$name found a fault"; exit 1; }
done
echo "fuzz: ${#targets[@]} targets clean"
