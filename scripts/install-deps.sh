#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that the build, the tests and the main
# job need, and only those that are missing.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xauth x11-utils x11-xserver-utils imagemagick
  libbenchmark-dev
  libgtk-3-dev at-spi2-core libatspi2.0-dev dbus libglib2.0-bin python3-dbusmock libx11-dev mutter weston
  locales fonts-noto-core fonts-noto-cjk fonts-dejavu-core fonts-freefont-ttf fonts-wqy-zenhei
)
# The tests run Wine on a Japanese system too; Wine names files in the Unix
# locale's code set, which must exist for that.
locales=(ja_JP.UTF-8)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

for locale in "${locales[@]}"; do
  available=$(echo "$locale" | sed 's/UTF-8/utf8/')
  locale -a | grep -qx "$available" && continue
  $sudo sed -i "s/^# *$locale UTF-8/$locale UTF-8/" /etc/locale.gen
  grep -q "^$locale UTF-8" /etc/locale.gen || echo "$locale UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen
done
