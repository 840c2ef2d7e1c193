#!/usr/bin/env bash
# Runs a command with a desktop for the Linux build's tests: a private Xvfb
# display, runtime folder and D-Bus session, on which the accessibility bus
# (AT-SPI) starts when the first program asks for it. Everything is stopped
# afterwards.
# With DN_USE_DISPLAY set, the caller's display is used instead of Xvfb.
set -euo pipefail
export LC_ALL=C.UTF-8
# Neither the caller's Wayland session nor its accessibility settings apply.
unset WAYLAND_DISPLAY NO_AT_BRIDGE

. "$(dirname "$0")/private-display.sh"
bus_pid=""
# The accessibility bus puts its socket into the runtime folder, and without
# one into ~/.cache, where every other run of the same user would replace it.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
cleanup() {
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
  stop_private_display
  rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

# The bus daemon and the accessibility services that it starts inherit its
# output and report each start there; that is none of the command's output.
bus_file=$(mktemp)
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$bus_file" </dev/null >/dev/null 2>&1 &
bus_pid=$!
for _ in $(seq 100); do
  [ -s "$bus_file" ] && break
  sleep 0.1
done
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bus_file")
export DBUS_SESSION_BUS_ADDRESS
rm -f "$bus_file"
start_private_display

"$@"
