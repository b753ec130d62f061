#!/usr/bin/env bash
# Builds the Windows release from clean build folders of its own, build/release/win32 and
# build/release/win64 (presets win32 and win64, target "package"), and puts into
# build/release:
#   duoscope-<version>-win32.zip   i686 build: duoscope.exe, README-win32.txt and the
#                                  player: ffplay.exe, ffprobe.exe, their licence texts,
#                                  BUILD-INFO.txt
#   duoscope-<version>-win64.zip   the same of the x86_64 build
#   duoscope-<version>-ffplay-source.zip
#                                  both players' complete source: Debian's source
#                                  packages and the upstream tarballs as fetched and
#                                  the scripts that build them
#   SHA256SUMS                     their hashes, for "sha256sum -c SHA256SUMS"
# The players come from tools/build_ffplay.sh's cache (built first when missing); both
# builds pack the same source archive, byte for byte, or the script ends with status 1.
# The archives' bytes depend on the sources alone (tools/pack_zip.sh: SOURCE_DATE_EPOCH,
# by default the last commit's time, stands for every time stamp), so two runs give the
# same files. When build/win32 or build/win64 holds a duoscope.exe (the one the Wine
# tests ran), the release's program of that preset must be the same file, byte for byte;
# otherwise the script ends with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
declare -A player
player[win32]=$(tools/build_ffplay.sh --arch i686)
player[win64]=$(tools/build_ffplay.sh --arch x86_64)
out=build/release
rm -rf "$out"
mkdir -p "$out"
for preset in win32 win64; do
  echo "release: building $preset in $out/$preset (log: $out/$preset.log)"
  if ! { cmake --preset "$preset" -B "$out/$preset" -DDUOSCOPE_FFPLAY="${player[$preset]}" &&
    cmake --build "$out/$preset" --target package -j 2; } >"$out/$preset.log" 2>&1; then
    tail -n 30 "$out/$preset.log"
    echo "release: building $preset failed" >&2
    exit 1
  fi
  cp "$out/$preset"/duoscope-*-"$preset".zip "$out/"
done
cmp "$out"/win32/duoscope-*-ffplay-source.zip "$out"/win64/duoscope-*-ffplay-source.zip
cp "$out"/win64/duoscope-*-ffplay-source.zip "$out/"
(cd "$out" && sha256sum duoscope-*.zip >SHA256SUMS &&
  sha256sum -c SHA256SUMS && ls -l duoscope-*.zip)
for preset in win32 win64; do
  [ -f "build/$preset/duoscope.exe" ] || continue
  if ! cmp -s "build/$preset/duoscope.exe" "$out/$preset/duoscope.exe"; then
    echo "release: $out/$preset/duoscope.exe differs from build/$preset/duoscope.exe, the" \
      "tested one: build and test the $preset preset again (tools/test.sh)" >&2
    exit 1
  fi
  echo "release: the $preset duoscope.exe is build/$preset/duoscope.exe, byte for byte"
done
