#!/usr/bin/env bash
# The program's own path may be longer than 260 characters. Wine cannot start a
# process from such a path with CreateProcessA, so this test is driven from
# the Linux side: copy the probe into a deep folder and start it there.
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
root=$(mktemp -d "${TMPDIR:-/tmp}/dn-long.XXXXXX")
trap 'rm -rf "$root"' EXIT
deep=$root
while [ ${#deep} -lt 300 ]; do deep=$deep/$(printf 'folder%.0s' 1 2 3 4 5 6); done
mkdir -p "$deep"
cp "$bin/command_line_probe.exe" "$deep/"
first=$("$here/scripts/wine-run" "$deep/command_line_probe.exe" x | head -n1)
expected="Z:$(printf '%s' "$deep/command_line_probe.exe" | tr / '\\')"
if [ "$first" != "$expected" ]; then
  echo "program path: got '$first', expected '$expected'"
  exit 1
fi
echo "whole path of ${#expected} characters"
