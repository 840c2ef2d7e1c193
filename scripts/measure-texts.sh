#!/usr/bin/env bash
# Measures the texts of the sample ini file in the message window's own
# labels, every language, a long package name and the longest countdown
# filled in: each language's widest and highest text, and a failure where a
# text takes more than two lines or leaves less than a tenth of the line's
# width. Under Wine each language is measured with the font that stands in
# for Windows' "Microsoft Sans Serif" there (scripts/wine-font), which is
# put back afterwards.
# Usage: scripts/measure-texts.sh linux|windows   (after that preset's build)
# The Windows tests run it as `measure-texts.sh --inside <ui_tests.exe>`
# under their own Wine.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
filter=--gtest_filter=SampleTexts.*

case "${1:-}" in
  linux) exec "$here/scripts/with-desktop.sh" "$here/build/linux/bin/ui_tests/ui_tests" "$filter" ;;
  windows) exec "$here/scripts/with-wine.sh" "$0" --inside "$here/build/windows/bin/ui_tests/ui_tests.exe" ;;
  --inside) tests=$2 ;;
  *) echo "usage: $0 linux|windows" >&2; exit 2 ;;
esac

. "$here/scripts/wine-font"
key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
before=$("$here/scripts/wine-run" reg.exe query "$key" /v "Microsoft Sans Serif" 2>/dev/null |
  sed -n 's/.*REG_SZ *//p' | tr -d '\r' || true)
restore() {
  if [ -n "$before" ]; then
    "$here/scripts/wine-run" reg.exe add "$key" /v "Microsoft Sans Serif" /d "$before" /f >/dev/null 2>&1
  else
    "$here/scripts/wine-run" reg.exe delete "$key" /v "Microsoft Sans Serif" /f >/dev/null 2>&1 || true
  fi
}
trap restore EXIT

# The file's languages, grouped by the font that shows them.
declare -A groups
for language in en $(iconv -f UTF-16 -t UTF-8 "$here/res/deployNotice.ini" | sed -n 's/^\[Strings\.\(.*\)\].*/\1/p'); do
  font=$(wine_font_for "$language")
  groups[$font]="${groups[$font]:-} $language"
done
failed=0
for font in "${!groups[@]}"; do
  languages=${groups[$font]# }
  use_wine_font_for "${languages%% *}"
  echo "== $font: $languages"
  output=$(DN_TEXTS_LANGUAGES=$languages "$here/scripts/wine-run" "$tests" "$filter" 2>&1) || failed=1
  printf '%s\n' "$output" | tr -d '\r' | grep -v '^Running main\|^Note: \|^\[\(==\|--\| RUN\|  PASSED\)' || true
done
exit $failed
