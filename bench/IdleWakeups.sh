#!/usr/bin/env bash
# Wake-ups of a running Orvani that nobody touches: voluntary context switches of all its threads
# per second, read from /proc over a stretch of time, with the window shown (the clock ticks each
# second), minimised and in the tray (nothing it draws is visible), on Xvfb under openbox with
# trayer as tray host. Usage: IdleWakeups.sh ORVANI [SECONDS]
set -euo pipefail
program=$1
seconds=${2:-60}
for tool in Xvfb openbox trayer xwininfo; do
  command -v "$tool" > /dev/null || { echo "$tool missing: idle wake-ups not measured"; exit 0; }
done

work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2> /dev/null || true; wait 2> /dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
mkdir -m 700 "$work/run"
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp > "$work/display" 2> /dev/null & pids+=($!)
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=:$(head -n1 "$work/display")
openbox > /dev/null 2>&1 & pids+=($!)
trayer > /dev/null 2>&1 & pids+=($!)

# Voluntary switches summed over the threads alive at both readings.
switches() { for task in /proc/"$1"/task/*; do echo "${task##*/} $(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status" 2> /dev/null)"; done; }

measure() {
  local label=$1 target=$2; shift 2
  "$program" "$@" > /dev/null 2>&1 & local pid=$!
  # Settled: the program has its windows and has had a moment to finish its start.
  until xwininfo -root -tree 2> /dev/null | grep -q '"Orvani"'; do sleep 0.05; done
  sleep 3
  switches "$pid" > "$work/before"
  sleep "$seconds"
  switches "$pid" > "$work/after"
  kill "$pid"; wait "$pid" 2> /dev/null || true
  local woken
  woken=$(LC_ALL=C join <(LC_ALL=C sort "$work/before") <(LC_ALL=C sort "$work/after") | awk -v s="$seconds" '{n += $3 - $2} END {printf "%.2f", n / s}')
  printf '%-10s %6s wake-ups/s (target: %s)\n' "$label" "$woken" "$target"
}
measure shown "at most 1, the clock"
measure minimised "0" --minimized
measure tray "0" --tray
