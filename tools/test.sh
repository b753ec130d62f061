#!/usr/bin/env bash
# Installs what is missing, then configures, builds and tests all three builds:
# native (portable core, sanitizers), win64 and win32 (Win32 layer under 64-bit and
# 32-bit Wine), and the short pass of the core's fuzz targets (preset fuzz, seed 1).
# Before win64 and win32 it builds the Windows player of that machine type
# (tools/build_ffplay.sh, once per machine: 15-30 minutes each; cached after) and hands
# its path to the build.
# Exits non-zero when any build or test fails.
# (No -e: a preset that fails is noted, and the others still run.)
set -u
cd "$(dirname "$0")/.."
tools/setup.sh || exit 1
jobs=$(nproc)
failed=()
for preset in ${DUOSCOPE_PRESETS:-native fuzz win64 win32}; do
  echo "=== $preset"
  # (32-bit Wine through qemu for the win32 tests: made once, then only checked.)
  [ "$preset" != win32 ] || tools/wine32.sh --setup || failed+=("win32 (32-bit Wine set-up)")
  options=()
  if [ "$preset" = win64 ] || [ "$preset" = win32 ]; then
    arch=x86_64
    [ "$preset" = win64 ] || arch=i686
    if ! player=$(tools/build_ffplay.sh --arch $arch); then
      failed+=("$preset (ffplay.exe)")
      continue
    fi
    options=(-DDUOSCOPE_FFPLAY="$player")
  fi
  if ! cmake --preset "$preset" "${options[@]}" >"/tmp/duoscope-configure-$preset.log" 2>&1; then
    cat "/tmp/duoscope-configure-$preset.log"
    failed+=("$preset (configure)")
    continue
  fi
  if ! cmake --build --preset "$preset" -j "$jobs"; then
    failed+=("$preset (build)")
    continue
  fi
  ctest --preset "$preset" || failed+=("$preset (tests)")
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All builds and tests passed."
