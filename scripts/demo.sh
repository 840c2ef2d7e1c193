#!/usr/bin/env bash
# The main job: builds deployNotice and plays a short deployment run with the
# sample ini file, as a deployment system's scripts would drive it: window
# shown; package install, upgrade and remove; finish; reboot with a short
# countdown; terminate. Runs on your display when there is one, on a private
# Xvfb display otherwise, and saves a screenshot after each step.
# Usage: scripts/demo.sh [ini file]   (default: res/deployNotice.ini)
set -euo pipefail
cd "$(dirname "$0")/.."
here=$(pwd)
ini=${1:-res/deployNotice.ini}

scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target deployNotice

run=$(mktemp -d "${TMPDIR:-/tmp}/deployNotice-demo.XXXXXX")
trap 'rm -rf "$run"' EXIT
cp build/windows/bin/deployNotice.exe "$run/"
cp "$ini" "$run/deployNotice.ini"
shots="$here/screenshots/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$shots"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export DN_USE_DISPLAY=1
  echo "Using your display $DISPLAY"
else
  unset DN_USE_DISPLAY
  echo "No display: using a private Xvfb display"
fi
scripts/with-wine.sh scripts/demo-steps.sh "$run" "$shots"
echo "Screenshots: $shots"
