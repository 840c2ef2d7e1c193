#!/usr/bin/env bash
# Runs a command with Wine ready for the Windows build's tests: a private Xvfb
# display, the prefix inside the build folder booted, and a persistent
# wineserver. Wine's background services inherit the pipes of the process that
# starts them, so they are started here with their output sent to /dev/null;
# started from a test, they would keep CTest waiting for ever.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

export WINEPREFIX="${WINEPREFIX:-$here/build/windows/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DN_USE_DISPLAY:-}" ]; then
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
fi

mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
"$here/scripts/wine-run" wineboot.exe -i </dev/null >/dev/null 2>&1 || true

"$@"
