#!/usr/bin/env bash
# Figures of the Linux program (not tests): sender runs against an empty C
# program, and the window's start to visible against a minimal GTK window
# with the same widgets, on a private display with the accessibility bus.
# Usage: scripts/bench-linux.sh [sender runs] [window starts]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target sender_bench window_bench
scripts/with-desktop.sh build/linux/bin/sender_bench "${1:-300}" 2>/dev/null
scripts/with-desktop.sh build/linux/bin/window_bench "${2:-15}" res/deployNotice.ini 2>/dev/null
