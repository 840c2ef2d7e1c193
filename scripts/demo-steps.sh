#!/usr/bin/env bash
# The steps of the demo run, on the display that scripts/demo.sh prepared.
# Arguments: the platform (linux or windows); the folder with the program and
# its ini; the screenshot folder; the language whose texts the ini shows
# (empty: the user's).
set -euo pipefail
platform=$1
run=$2
shots=$3
language=${4:-}
here=$(cd "$(dirname "$0")/.." && pwd)
step=0

if [ "$platform" = windows ]; then
  . "$here/scripts/wine-font"
  use_wine_font_for "$language"
  notice() { "$here/scripts/wine-run" "$run/deployNotice.exe" "$@"; }
else
  notice() { "$run/deployNotice" "$@"; }
fi

# The window's X id, once it is on screen: the program's top-level window
# that is shown and as wide as the form.
window_id() {
  local id
  for id in $(xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}'); do
    xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $window\$" || continue
    xwininfo -id "$id" | awk '/Map State:/ {viewable = $3 == "IsViewable"} /Width:/ {wide = $2 >= 200}
                               END {exit !(viewable && wide)}' && { echo "$id"; return; }
  done
}

shot() {
  step=$((step + 1))
  local file
  file=$(printf '%s/%02d-%s.png' "$shots" "$step" "$1")
  local id
  id=$(window_id)
  if [ -n "$id" ]; then import -window "$id" "$file"; else import -window root "$file"; fi
  echo "  $file"
}

# Commands are applied at the window's next tick (twice a second).
after_tick() { sleep 1.2; }

echo "Starting the window"
# Started directly, not through the function, so that $! is the program's.
if [ "$platform" = windows ]; then
  "$here/scripts/wine-run" "$run/deployNotice.exe" &
else
  "$run/deployNotice" &
fi
window=$!
for _ in $(seq 100); do
  [ -n "$(window_id)" ] && break
  sleep 0.1
done
after_tick
shot window-open

echo "Package install, upgrade, remove"
notice -package "Office Tools" install; after_tick; shot package-install
notice -package "Office Tools" upgrade; after_tick; shot package-upgrade
notice -package "Old Viewer" remove; after_tick; shot package-remove

echo "Finish"
notice -finish; after_tick; shot finish

echo "Reboot with a countdown of 5 seconds"
notice -reboot 5; after_tick; shot reboot-countdown
sleep 2; shot reboot-countdown-later
sleep 3; shot reboot-due

echo "Terminate"
notice -terminate
wait "$window"
echo "The window ended with exit code $?"
