#!/usr/bin/env bash
# The .deb that cpack makes: the program and the sample ini files together in
# /opt/deploynotice, /usr/bin/deployNotice leading there, the ini files kept
# as the administrator's own, and the unpacked program running through the
# link. Argument: the linux build folder.
set -euo pipefail
build=$1
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
dpkg-deb -I "$deb" conffiles | grep -qx /opt/deploynotice/deployNotice.ini || { echo "ini is no conffile"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q libgtk-3-0 || { echo "no dependency on GTK"; exit 1; }

dpkg-deb -x "$deb" "$work/root"
[ "$(readlink -f "$work/root/usr/bin/deployNotice")" = "$work/root/opt/deploynotice/deployNotice" ] ||
  { echo "link does not lead to the program"; exit 1; }
# A sender run through the link ends at once with exit code 0.
"$work/root/usr/bin/deployNotice" -package Test install
echo "package ok"
