#!/usr/bin/env bash
# Runs the Linux window's end-to-end cases under each window manager that is
# installed (mutter, kwin, xfwm4, openbox; all in Debian's packages), on a
# private display: what each manager made of the window, read from outside.
# CI runs them under mutter alone (scripts/test.sh). After the linux build.
# Usage: scripts/try-window-managers.sh [manager ...]
set -uo pipefail
cd "$(dirname "$0")/.."
command_of() {
  case "$1" in
    mutter) echo mutter ;;
    kwin) echo kwin_x11 ;;
    *) echo "$1" ;;
  esac
}
status=0
for manager in "${@:-mutter kwin xfwm4 openbox}"; do
  for name in $manager; do
    if ! command -v "$(command_of "$name")" >/dev/null; then
      echo "== $name: not installed"
      continue
    fi
    echo "== $name"
    DN_WINDOW_MANAGER=$name scripts/with-desktop.sh ctest --preset linux -R '^WindowRun\.' --output-on-failure 2>&1 |
      grep -E 'tests passed|Failure|Expected|Which is|Skipped|\(Failed\)' || true
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  done
done
exit $status
