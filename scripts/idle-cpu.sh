#!/usr/bin/env bash
# The CPU time that each given Windows program uses while its window sits
# idle, read from /proc of the Linux process that Wine runs it in.
# Usage (with Wine ready, see with-wine.sh): idle-cpu.sh <seconds> <program.exe>...
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=$1
shift

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

for exe in "$@"; do
  name=$(basename "$exe")
  # wine-run replaces itself with Wine, which runs the program in the same process.
  "$here/scripts/wine-run" "$exe" &
  pid=$!
  sleep 3
  grep -q "$name" "/proc/$pid/cmdline" 2>/dev/null || { echo "  $name did not start"; continue; }
  before=$(cpu_ticks "$pid")
  sleep "$seconds"
  after=$(cpu_ticks "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v n="$name" \
    'BEGIN { printf "  %-22s idle CPU over %d s: %.3f %% of one core (%d clock ticks)\n", n, s, 100 * t / hz / s, t }'
done
