#!/usr/bin/env bash
# Figures: start-to-exit time of a sender run (window absent and present)
# against an empty GUI-subsystem program built with the same flags, under the
# same Wine. Usage: scripts/bench-sender.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target sender_bench
scripts/with-wine.sh scripts/wine-run build/windows/bin/sender_bench.exe "${1:-30}"
