#!/usr/bin/env bash
# Writes cmake/WindowStartOrder.ld, the linker script that lays the window module's start-up code
# together: every function of the module that runs from the command's start to the first painted
# frame, found with callgrind in a release build, offscreen and on Xvfb with openbox. Run it when
# the start-up path has changed; an outdated list still links, it only gathers fewer functions.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/ensure-packages.sh
bash scripts/ensure-packages.sh <(printf 'valgrind\nxvfb\nopenbox\n')

build=build/bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANI_TESTS=OFF -DORVANI_BENCH=ON > /dev/null
cmake --build "$build" -j "$(nproc)" --target orvani orvani_window bench_firstframe
work=$(mktemp -d)
trap 'kill $(jobs -p) 2> /dev/null || true; rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime

# Profiles one start to the first frame (the benchmark's hook ends it there); the second of two
# starts, as a user's every start after the first finds its settings written.
profile() {
  "$build/orvani" --version > /dev/null
  LD_PRELOAD=$root/$build/bench/libbench_firstframe.so "$build/orvani" > /dev/null 2>&1
  LD_PRELOAD=$root/$build/bench/libbench_firstframe.so valgrind --tool=callgrind --demangle=no \
    --callgrind-out-file="$work/$1.out" "$build/orvani" > /dev/null 2>&1
}

QT_QPA_PLATFORM=offscreen profile offscreen
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/display" 2> /dev/null &
while [ ! -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox --startup "touch $work/managing" 2> /dev/null &
while [ ! -e "$work/managing" ]; do sleep 0.1; done
QT_QPA_PLATFORM=xcb profile x11

# The functions that ran: callgrind names each once, where it first appears as one that ran
# ("fn=(12) name") or as one called ("cfn=(12) name"); a recursive one shows as "name'2". Those
# the module defines are its start-up code.
module=$build/orvani-window.so
names=$(comm -12 \
  <(sed -n "s/^c\?fn=([0-9]*) \([^' ]*\).*$/\1/p" "$work"/*.out | sort -u) \
  <(nm --defined-only --format=just-symbols "$module" | sort -u))
{
  echo "/* The window module's functions that run up to its first frame, written by"
  echo "   scripts/start-order.sh: laid together before the rest of the code. */"
  echo "SECTIONS"
  echo "{"
  echo "  .text.start :"
  echo "  {"
  # A constructor or destructor has two names, and its code the section of one of them.
  echo "$names" | sed 's/\([CD]\)[12]E/\1[12]E/g' | sort -u | while read -r name; do
    echo "    *(.text.$name .text.startup.$name .text.hot.$name)"
  done
  echo "  }"
  echo "}"
  echo "INSERT BEFORE .text;"
} > cmake/WindowStartOrder.ld
echo "cmake/WindowStartOrder.ld: $(echo "$names" | wc -l) functions"
