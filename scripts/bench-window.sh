#!/usr/bin/env bash
# Figures: the window run against a minimal window with the same controls,
# under the same Wine and display: start to visible, idle CPU, peak working set.
# Usage: scripts/bench-window.sh [starts] [idle seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target window_bench
ini="Z:$(pwd | tr / '\\')\\res\\deployNotice.ini"
scripts/with-wine.sh scripts/wine-run build/windows/bin/window_bench.exe "${1:-15}" "${2:-30}" "$ini"
