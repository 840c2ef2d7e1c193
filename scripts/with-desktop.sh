#!/usr/bin/env bash
# Runs a command with a desktop for the Linux build's tests: a private Xvfb
# display, runtime folder and D-Bus session with its accessibility bus
# (AT-SPI). Everything is stopped afterwards. Run as root, the desktop is an
# unprivileged user's (nobody's), and the tests run as that user but for those
# that need root (scripts/desktop-test): a window run as root shows no box,
# and only the window's own user can read its window as a screen reader does.
# With DN_USE_DISPLAY set, the caller's display is used instead of Xvfb.
# DN_WINDOW_MANAGER (mutter, kwin, xfwm4 or openbox) runs that window
# manager on the display, as the desktop's user, before the command.
set -euo pipefail
export LC_ALL=C.UTF-8
# Neither the caller's Wayland session nor its accessibility settings apply.
unset WAYLAND_DISPLAY NO_AT_BRIDGE

. "$(dirname "$0")/private-display.sh"
bus_pid=""
manager_pid=""
# The accessibility bus puts its socket into the runtime folder, and without
# one into ~/.cache, where every other run of the same user would replace it.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
as_user=()
if [ "$(id -u)" = 0 ]; then
  DN_DESKTOP_USER=$(id -u nobody)
  DN_DESKTOP_GROUP=$(id -g nobody)
  DN_DESKTOP_HOME=$(mktemp -d)
  export DN_DESKTOP_USER DN_DESKTOP_GROUP DN_DESKTOP_HOME
  chown "$DN_DESKTOP_USER:$DN_DESKTOP_GROUP" "$XDG_RUNTIME_DIR" "$DN_DESKTOP_HOME"
  as_user=(setpriv --reuid="$DN_DESKTOP_USER" --regid="$DN_DESKTOP_GROUP" --clear-groups env HOME="$DN_DESKTOP_HOME")
fi
cleanup() {
  [ -n "$manager_pid" ] && kill "$manager_pid" 2>/dev/null || true
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
  stop_private_display
  rm -rf "$XDG_RUNTIME_DIR" "${DN_DESKTOP_HOME:-}"
}
trap cleanup EXIT

# The bus daemon and the accessibility services that it starts inherit its
# output and report each start there; that is none of the command's output.
bus_file=$(mktemp)
"${as_user[@]}" dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$bus_file" </dev/null >/dev/null 2>&1 &
bus_pid=$!
for _ in $(seq 100); do
  [ -s "$bus_file" ] && break
  sleep 0.1
done
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bus_file")
export DBUS_SESSION_BUS_ADDRESS
rm -f "$bus_file"
start_private_display
# The accessibility bus, started now and named to every program: root's
# programs cannot ask the user's session bus for it, but may use it.
AT_SPI_BUS_ADDRESS=$("${as_user[@]}" dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
  org.a11y.Bus.GetAddress | tr -d ' ')
export AT_SPI_BUS_ADDRESS

if [ -n "${DN_WINDOW_MANAGER:-}" ]; then
  case "$DN_WINDOW_MANAGER" in
    mutter) manager=(mutter --x11 --replace) ;;
    kwin) manager=(kwin_x11 --replace) ;;
    xfwm4) manager=(xfwm4 --replace) ;;
    openbox) manager=(openbox) ;;
    *) echo "unknown window manager: $DN_WINDOW_MANAGER" >&2; exit 2 ;;
  esac
  "${as_user[@]}" "${manager[@]}" </dev/null >/dev/null 2>&1 &
  manager_pid=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" ||
    { echo "$DN_WINDOW_MANAGER did not start" >&2; exit 1; }
fi

"$@"
