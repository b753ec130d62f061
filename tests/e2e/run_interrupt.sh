#!/usr/bin/env bash
# tools/run.sh as a new user meets it: no DISPLAY, so the program runs on run.sh's own
# Xvfb, with the stand-in player (one that leaves its console). Ctrl+C, a SIGINT to
# run.sh's process group, must end run.sh, and nothing of its run may be left: no
# program, player or other Wine process of its prefix, no wineserver, no Xvfb.
#
#   run_interrupt.sh BUILD SOURCE
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
. "$source/tools/lib.sh"
run=$build/run-interrupt
mkdir -p "$run"
prefix=$run/wine/prefix
media=$run/detached.mp4
: >"$media"
standin_log=$run/standin.log
rm -f "$standin_log"

# The processes whose environment names the run folder's prefix: every Wine process of
# it, the wineserver included.
of_prefix() {
  grep -lsxzF "WINEPREFIX=$prefix" /proc/[0-9]*/environ | cut -d/ -f3 || true
}
# Waits up to $1 seconds until the shell text $2 holds.
wait_until() { timeout "$1" bash -c "until $2; do sleep 0.2; done"; }
fail() {
  echo "FAIL: $*" >&2
  tail -n 20 "$run/run.log" >&2 || true
  exit 1
}

# Whatever the outcome, nothing of the run stays behind the test.
runner=""
cleanup() {
  [ -z "$runner" ] || kill -KILL -- "-$runner" 2>/dev/null || true
  "$source/tools/winerun.sh" "$run" --stop >/dev/null 2>&1 || true
}
trap cleanup EXIT

# Job control, so that run.sh has a process group of its own, as in a terminal, and
# takes SIGINT (a shell starts background commands with SIGINT ignored otherwise).
set -m
env -u DISPLAY DUOSCOPE_BUILD_DIR="$build" DUOSCOPE_RUN_DIR="$run" \
  DUOSCOPE_PLAYER_EXE="$build/ffplay.exe" DUOSCOPE_STANDIN_LOG="$(winpath "$standin_log")" \
  "$source/tools/run.sh" "$media" >"$run/run.log" 2>&1 &
runner=$!
set +m
wait_until 240 "[ -s '$standin_log' ]" || fail "the player did not start"
display=$(cat "$run/wine/display.used")
[ -n "$(of_prefix)" ] || fail "no Wine process of the run's prefix seen"
pgrep -f "^Xvfb $display " >/dev/null || fail "no Xvfb on $display"

kill -INT -- "-$runner"
wait_until 60 "! kill -0 $runner 2>/dev/null" || fail "run.sh still runs after Ctrl+C"
grep -q "did not close" "$run/run.log" && fail "the program had to be ended"
left=$(of_prefix)
[ -z "$left" ] || fail "left running: $(ps -o pid=,args= -p "${left//$'\n'/,}")"
! pgrep -f "^Xvfb $display " >/dev/null || fail "Xvfb on $display still runs"
echo "run.sh ended on Ctrl+C; nothing of its run is left"
