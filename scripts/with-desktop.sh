#!/usr/bin/env bash
# Runs a command with a desktop for the Linux build's tests: a private Xvfb
# display and a private D-Bus session, on which the accessibility bus (AT-SPI)
# starts when the first program asks for it. Everything is stopped afterwards.
# With DN_USE_DISPLAY set, the caller's display is used instead of Xvfb.
set -euo pipefail

if [ -z "${DN_IN_DESKTOP:-}" ]; then
  export DN_IN_DESKTOP=1 LC_ALL=C.UTF-8
  # Neither the caller's Wayland session nor its accessibility settings apply.
  unset WAYLAND_DISPLAY NO_AT_BRIDGE
  exec dbus-run-session -- "$0" "$@"
fi

xvfb_pid=""
cleanup() {
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

"$@"
