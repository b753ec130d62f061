#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Safe to run any number of times: only missing packages are installed.
# (No pipefail: grep -q ends the pipes of the checks early.)
set -eu
. "$(dirname "$0")/lib.sh"
packages=(
  cmake g++ make
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64
  wine wine64
  xvfb xdotool x11-utils imagemagick
  ffmpeg mkvtoolnix nasm pkg-config dpkg-dev xz-utils libz-mingw-w64-dev fonts-dejavu-core
  googletest libgtest-dev
  clang-format zip unzip
  clang libfuzzer-14-dev
  povray povray-examples opencv-doc
  debootstrap meson ninja-build
  locales
)
# The Wine tests run once more under this locale (code page 932).
test_locale=ja_JP.UTF-8
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! locale -a 2>/dev/null | grep -qix "${test_locale/UTF-8/utf8}"; then
  echo "setup: generating the locale $test_locale"
  $sudo_cmd sed -i "s/^# *\($test_locale UTF-8\)/\1/" /etc/locale.gen
  grep -qx "$test_locale UTF-8" /etc/locale.gen ||
    echo "$test_locale UTF-8" | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  $sudo_cmd locale-gen >/dev/null
fi
