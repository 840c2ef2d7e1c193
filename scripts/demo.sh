#!/usr/bin/env bash
# The main job: builds deployNotice and plays a short deployment run with the
# sample ini file, as a deployment system's scripts would drive it: window
# shown; package install, upgrade and remove; finish; reboot with a short
# countdown; terminate. Runs on your display when there is one, on a private
# Xvfb display otherwise, and saves a screenshot after each step.
# Usage: scripts/demo.sh [linux|windows] [ini file | language]
#   linux (the default): the native Linux program with GTK;
#   windows: deployNotice.exe under Wine.
#   The ini file defaults to res/deployNotice.ini; a language of the sample
#   instead (ja, ar, de-CH, ...) plays the run in that language's texts, as
#   the sample's Language key would for every user.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$(pwd)
platform=${1:-linux}
ini=${2:-res/deployNotice.ini}
language=""
if [ ! -f "$ini" ]; then
  language=$ini
  ini=res/deployNotice.ini
fi

scripts/install-deps.sh
run=$(mktemp -d "${TMPDIR:-/tmp}/deployNotice-demo.XXXXXX")
trap 'rm -rf "$run"' EXIT
case "$platform" in
  linux)
    cmake --preset linux >/dev/null
    if [ "$(id -u)" -eq 0 ]; then
      # As root the program hands its window to the user whom logind names as
      # logged on at the machine, and a private display has none. The test
      # build, which takes the display it is given as root's own session,
      # plays the run instead.
      echo "Running as root: the run is played by the test build (nobody is logged on to hand the window to)"
      cmake --build --preset linux -j "$(nproc)" --target deployNotice_tested
      cp build/linux/bin/tested/deployNotice "$run/"
    else
      cmake --build --preset linux -j "$(nproc)" --target deployNotice
      cp build/linux/bin/deployNotice "$run/"
    fi
    wrapper=scripts/with-desktop.sh
    ;;
  windows)
    # A prefix of its own: the demo sets the font that stands in for
    # Windows' own, which the tests' prefix keeps as Wine has it.
    export WINEPREFIX="$here/build/windows/demo-prefix"
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j "$(nproc)" --target deployNotice
    cp build/windows/bin/deployNotice.exe "$run/"
    wrapper=scripts/with-wine.sh
    ;;
  *)
    echo "usage: scripts/demo.sh [linux|windows] [ini file | language]" >&2
    exit 2
    ;;
esac
cp "$ini" "$run/deployNotice.ini"
if [ -n "$language" ]; then
  # The sample (UTF-16) with Language=<language> in its [Strings] section.
  { printf '\xff\xfe'
    iconv -f UTF-16 -t UTF-8 "$ini" | sed "0,/^\[Strings\]\r\$/s//[Strings]\r\nLanguage=$language\r/" |
      iconv -f UTF-8 -t UTF-16LE; } >"$run/deployNotice.ini"
fi
shots="$here/screenshots/$(date +%Y%m%d-%H%M%S)-$platform${language:+-$language}"
mkdir -p "$shots"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export DN_USE_DISPLAY=1
  echo "Using your display $DISPLAY"
else
  unset DN_USE_DISPLAY
  echo "No display: using a private Xvfb display"
fi
"$wrapper" scripts/demo-steps.sh "$platform" "$run" "$shots" "$language"
echo "Screenshots: $shots"
