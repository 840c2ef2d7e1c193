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

. "$(dirname "$0")/private-display.sh"
trap stop_private_display EXIT
start_private_display

"$@"
