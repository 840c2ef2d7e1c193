#!/usr/bin/env bash
# The .deb that cpack makes: the program and the sample ini files together in
# /opt/deploynotice, /usr/bin/deployNotice leading there, the license and the
# changelog where Debian wants them and nothing else anywhere, the ini files
# kept as the administrator's own, and the unpacked program running through
# the link. Argument: the linux build folder.
set -euo pipefail
build=$1
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/deploynotice_*.deb)
contents=$(dpkg-deb -c "$deb")
for path in ./opt/deploynotice/deployNotice ./opt/deploynotice/deployNotice.ini \
            ./opt/deploynotice/deployNotice.de.ini ./opt/deploynotice/examples/deploy.sh; do
  grep -q " $path\$" <<<"$contents" || { echo "missing: $path"; exit 1; }
done
grep -q " ./usr/bin/deployNotice -> ../../opt/deploynotice/deployNotice\$" <<<"$contents" ||
  { echo "no link in /usr/bin"; echo "$contents"; exit 1; }
# The file names, without the link's target.
outside=$(awk '{print $6}' <<<"$contents" |
  grep -vE '^\./((opt|usr|usr/bin|usr/share|usr/share/doc)/|opt/deploynotice/.*|usr/bin/deployNotice|usr/share/doc/deploynotice/.*)$' ||
  true)
[ -z "$outside" ] || { echo "outside the program's places:"; echo "$outside"; exit 1; }
dpkg-deb -I "$deb" conffiles | grep -qx /opt/deploynotice/deployNotice.ini || { echo "ini is no conffile"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q libgtk-3-0 || { echo "no dependency on GTK"; exit 1; }

dpkg-deb -x "$deb" "$work/root"
[ "$(readlink -f "$work/root/usr/bin/deployNotice")" = "$work/root/opt/deploynotice/deployNotice" ] ||
  { echo "link does not lead to the program"; exit 1; }
# The license in Debian's copyright format, its text that of LICENSE.
doc=$work/root/usr/share/doc/deploynotice
head -n1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  { echo "copyright: no format line"; exit 1; }
grep -qx "Copyright: $(sed -n 's/^Copyright (c) //p' "$source/LICENSE")" "$doc/copyright" ||
  { echo "copyright: not the holder of LICENSE"; exit 1; }
diff <(sed '1,/^License: Expat$/d; s/^ //; s/^\.$//' "$doc/copyright") <(sed '1,/^Copyright (c)/d' "$source/LICENSE" | sed '1{/^$/d}') ||
  { echo "copyright: not the terms of LICENSE"; exit 1; }
# The changelog: compressed without name or time stamp, and of this version.
[ "$(od -An -tx1 -j3 -N5 "$doc/changelog.Debian.gz" | tr -d ' ')" = 0000000000 ] ||
  { echo "changelog: gzip header holds a name or a time"; exit 1; }
version=$(dpkg-deb -f "$deb" Version)
zcat "$doc/changelog.Debian.gz" | head -n1 | grep -q "^deploynotice ($version) " ||
  { echo "changelog: not version $version"; exit 1; }
# A sender run through the link ends at once with exit code 0.
"$work/root/usr/bin/deployNotice" -package Test install
echo "package ok"
