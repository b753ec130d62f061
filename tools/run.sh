#!/usr/bin/env bash
# Plays a stereo file with duoscope on Linux, under Wine, through FFmpeg's player:
#
#   tools/run.sh [--windows-player] [MEDIA-FILE]
#
# Installs what is missing, builds duoscope.exe (preset win64), makes the demo clip
# demo/sbs-demo.mp4 when no file is given and the clip is not there yet, and starts
# duoscope.exe from the run folder build/win64/run, where the ffplay.exe beside it is
# tools/ffplay-adapter, which runs Debian's ffplay (faster on Linux). With
# --windows-player the ffplay.exe beside it is the Windows player that the 64-bit archive
# ships (tools/build_ffplay.sh, built first when missing), running under Wine: exactly
# what Windows users get. The program has a Wine prefix of its own there
# (build/win64/run/wine/prefix), apart from the tests' prefix, so the tests neither
# change the user's settings nor end the running program. On a first run (no stored
# output layout yet) the output layout is preset to "anaglyph red/cyan dubois".
# Uses the display in DISPLAY, or an Xvfb of its own when there is none. When the
# program exits, the last player is ended and the prefix's wineserver is stopped.
# DUOSCOPE_BUILD_DIR names another build folder than build/win64 (same preset);
# DUOSCOPE_RUN_DIR another run folder (a prefix of its own) than its run/;
# DUOSCOPE_PLAYER_EXE a Windows ffplay.exe to put beside the program (the tests' stand-in).
# Ctrl+C or SIGTERM closes the program as its close box does, which ends its player; one
# that has not closed after 15 s is ended, with every Wine process of the run folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/lib.sh

windows_player=${DUOSCOPE_PLAYER_EXE:-}
if [ "${1:-}" = --windows-player ]; then
  windows_player=yes
  shift
fi
media=${1:-}
if [ -n "$media" ]; then
  [ -f "$media" ] || { echo "run: no file $media" >&2; exit 2; }
  media=$(cd "$(dirname "$media")" && pwd)/$(basename "$media")
fi

tools/setup.sh
[ "$windows_player" != yes ] || windows_player=$(tools/build_ffplay.sh)
build=${DUOSCOPE_BUILD_DIR:-build/win64}
[ -f "$build/CMakeCache.txt" ] || cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target duoscope close_program >/dev/null

if [ -z "$media" ]; then
  media=$root/demo/sbs-demo.mp4
  if [ ! -f "$media" ]; then
    echo "run: making the demo clip $media"
    tools/make_demo_clip.sh "$media"
  fi
fi

run=${DUOSCOPE_RUN_DIR:-$build/run}
mkdir -p "$run"
run=$(cd "$run" && pwd)
cp "$build/duoscope.exe" "$build/close_program.exe" "$run/"
if [ -n "$windows_player" ]; then
  cp "$windows_player" "$run/ffplay.exe"
else
  cp tools/ffplay-adapter "$run/ffplay.exe"
  chmod +x "$run/ffplay.exe"
fi

# The program shows on the user's display (winerun.sh's own Xvfb only when there is none).
export DUOSCOPE_USER_DISPLAY=1
wine() { tools/winerun.sh "$run" "$@" </dev/null; }
stop() {
  [ -n "$windows_player" ] || "$run/ffplay.exe" --end-last
  tools/winerun.sh "$run" --stop
}
trap stop EXIT
program=""
# Ctrl+C asks the program to close, as its close box would (it runs in a session of its
# own, so the terminal's signal does not kill it first); the close ends its player, in
# 3 s at the most. A program still there after close_wait seconds is ended, with every
# Wine process of the run folder. (Wine's taskkill /im, used before, answered "close
# message sent" while the program ran on.)
close_wait=15
interrupted() {
  trap '' INT TERM
  [ -n "$program" ] || exit 130
  wine "$run/close_program.exe" >/dev/null 2>&1 || true
  local i
  for ((i = 0; i < close_wait * 10; i++)); do
    kill -0 "$program" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "run: duoscope did not close within $close_wait s; ending it" >&2
  tools/winerun.sh "$run" --stop
  kill -KILL "$program" 2>/dev/null || true
}
trap interrupted INT TERM

wine --start
if ! wine reg query "$SETTINGS_KEY" /v nStout >/dev/null 2>&1; then
  wine reg add "$SETTINGS_KEY" /v nStout /t REG_SZ /d 17 /f >/dev/null
  echo "run: output preset to \"anaglyph red/cyan dubois\" (change it in File > Setting)"
fi

display=$(cat "$run/wine/display.used")
if [ -z "${DISPLAY:-}" ]; then
  echo "run: no DISPLAY; duoscope runs on the virtual display $display (Xvfb). Ctrl+C ends it."
fi
echo "run: playing $media"
# Wine's messages go to a log: with the terminal as its output, Wine would show the
# launch scripts' consoles in the terminal instead of as (hidden) console windows.
setsid tools/winerun.sh "$run" "$run/duoscope.exe" "$(winpath "$media")" </dev/null \
  >"$run/duoscope.log" 2>&1 &
program=$!
status=0
while :; do
  wait "$program" && status=0 || status=$?
  kill -0 "$program" 2>/dev/null || break
done
exit "$status"
