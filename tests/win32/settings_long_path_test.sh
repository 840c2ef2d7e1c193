#!/usr/bin/env bash
# The settings file lies beside the executable also when the executable's
# path is longer than 260 characters: the path is taken whole. Wine cannot
# start a process from such a path with CreateProcessA, so this test is driven
# from the Linux side. (Wine's private-profile functions do not open files
# from such paths, so only the path is checked here, and that the run ends
# well; settings_probe reports it on its first line.)
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
root=$(mktemp -d "${TMPDIR:-/tmp}/dn-long.XXXXXX")
trap 'rm -rf "$root"' EXIT
deep=$root
while [ ${#deep} -lt 300 ]; do deep=$deep/$(printf 'settings%.0s' 1 2 3 4 5 6); done
mkdir -p "$deep"
cp "$bin/settings_probe.exe" "$deep/"
printf '[Strings]\r\nWindowsCaption=Deep\r\n' >"$deep/deployNotice.ini"
output=$("$here/scripts/wine-run" "$deep/settings_probe.exe")
first=$(printf '%s\n' "$output" | head -n1)
expected="Z:$(printf '%s' "$deep/deployNotice.ini" | tr / '\\')"
if [ "$first" != "$expected" ]; then
  echo "settings file: got '$first', expected '$expected'"
  exit 1
fi
echo "whole settings path of ${#expected} characters"
