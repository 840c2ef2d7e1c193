#!/usr/bin/env bash
# Runs a command with Wine ready for the Windows build's tests: a private Xvfb
# display, the prefix inside the build folder booted, and a persistent
# wineserver. Wine's background services inherit the pipes of the process that
# starts them, so they are started here with their output sent to /dev/null;
# started from a test, they would keep CTest waiting for ever.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

# The suite's locale is pinned; a test may still give a child its own.
export LC_ALL=C.UTF-8
. "$here/scripts/wine-env"

. "$here/scripts/private-display.sh"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_private_display
}
trap cleanup EXIT
start_private_display
# A second resolution that a test may switch the display to (a monitor
# change while the window is open).
if [ -z "${DN_USE_DISPLAY:-}" ]; then
  xrandr --newmode dn-small 63.5 1024 1072 1176 1328 768 771 775 798 >/dev/null 2>&1 &&
    xrandr --addmode screen dn-small >/dev/null 2>&1 || true
fi

mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
"$here/scripts/wine-run" wineboot.exe -i </dev/null >/dev/null 2>&1 || true

"$@"
