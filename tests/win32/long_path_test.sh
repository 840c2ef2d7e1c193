#!/usr/bin/env bash
# Paths longer than 260 characters stay whole: a probe copied into a deep
# folder reports, on its first line, a path it took from its own location
# (command_line_probe: itself; settings_probe: the ini file beside it). Wine
# cannot start a process from such a path with CreateProcessA, so the test is
# driven from the Linux side. Wine's private-profile functions do not open
# files from such paths either, so only the path is checked.
# Usage: long_path_test.sh <bin folder> <probe.exe> <file name it reports>
set -euo pipefail
bin=$1
probe=$2
reported=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
root=$(mktemp -d "${TMPDIR:-/tmp}/dn-long.XXXXXX")
trap 'rm -rf "$root"' EXIT
deep=$root
while [ ${#deep} -lt 300 ]; do deep=$deep/$(printf 'folder%.0s' 1 2 3 4 5 6); done
mkdir -p "$deep"
cp "$bin/$probe" "$deep/"
printf '[Strings]\r\nWindowsCaption=Deep\r\n' >"$deep/deployNotice.ini"
first=$("$here/scripts/wine-run" "$deep/$probe" x | head -n1)
expected="Z:$(printf '%s' "$deep/$reported" | tr / '\\')"
if [ "$first" != "$expected" ]; then
  echo "path: got '$first', expected '$expected'"
  exit 1
fi
echo "whole path of ${#expected} characters"
