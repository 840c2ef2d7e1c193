#!/usr/bin/env bash
# Figures: the window run against a minimal window with the same controls,
# under the same Wine and display: start to visible and peak working set (from
# a driver under Wine), and the CPU time of the idle window (from /proc).
# Usage: scripts/bench-window.sh [starts] [idle seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
starts=${1:-15}
idle=${2:-30}
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target window_bench
ini="Z:$(pwd | tr / '\\')\\res\\deployNotice.ini"
scripts/with-wine.sh scripts/wine-run build/windows/bin/window_bench.exe "$starts" "$ini"

run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
cp build/windows/bin/{deployNotice,minimal_window,minimal_window_animated}.exe "$run/"
cp res/deployNotice.ini "$run/"
# The message window's bar moves twice a second: the animated minimal window
# is the fair yardstick for its idle CPU.
scripts/with-wine.sh scripts/idle-cpu.sh "$idle" "$run/minimal_window.exe" "$run/minimal_window_animated.exe" \
  "$run/deployNotice.exe"
