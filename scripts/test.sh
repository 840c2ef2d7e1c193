#!/usr/bin/env bash
# Builds every preset and runs every test: the portable code natively, again
# with the sanitizers and the fuzz targets, the Windows build under Wine, and
# the Linux program (plain and with the sanitizers) on a private display with
# the accessibility bus, and its window's end-to-end cases again under a real
# window manager (mutter).
# Installs what is missing first (Debian or Ubuntu).
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

jobs=$(nproc)
failed=()
run_preset() {
  local preset=$1
  shift
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" -j "$jobs" &&
    "$@" ctest --preset "$preset" -j "$jobs" ||
    failed+=("$preset")
}

run_preset host
run_preset sanitize
run_preset windows scripts/with-wine.sh
run_preset linux scripts/with-desktop.sh
run_preset linux-sanitize scripts/with-desktop.sh
echo "== linux under mutter =="
DN_WINDOW_MANAGER=mutter scripts/with-desktop.sh ctest --preset linux -R '^WindowRun\.' -j "$jobs" ||
  failed+=("linux under mutter")

if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All tests passed."
