#!/usr/bin/env bash
# Runs a Windows program under Wine for a build folder: 64-bit Wine, or for a build of
# the i686 toolchain (preset win32) 32-bit Wine through qemu (tools/wine32.sh, whose
# one-off set-up must have run; a prefix with WINEARCH=win32).
#
#   winerun.sh BUILD_DIR PROGRAM.exe [ARGS...]   run a program (CTest's emulator)
#   winerun.sh BUILD_DIR --start                 prepare prefix, X server and wineserver
#   winerun.sh BUILD_DIR --stop                  end the wineserver and our own X server
#   winerun.sh BUILD_DIR --env                   print the environment lines to source
#                                                (for scripts that start Wine themselves)
#
# The Wine prefix lives in BUILD_DIR/wine/prefix. The programs get an Xvfb of their
# own, started on a free display and kept until --stop, even when DISPLAY is set: test
# windows then neither pop up on the user's screen nor follow the focus rules of the
# user's window manager. With DUOSCOPE_USER_DISPLAY=1 (tools/run.sh) a set DISPLAY is
# used instead. With DUOSCOPE_TEST_WM=openbox (or another window manager's program) that
# window manager runs on the Xvfb until --stop, and manages Wine's windows, as on a
# developer's desktop. A persistent wineserver keeps later starts fast. Every background
# process gets its own session and has its output sent to a log, so that CTest never
# waits on an inherited pipe.
# (No -e: the set-up reports failure by status, and --stop goes on past what is gone.)
set -u
. "$(dirname "$0")/lib.sh"
build=$(cd "$1" && pwd) || { say "no build folder $1"; exit 2; }
shift
state="$build/wine"
mkdir -p "$state"
# Wine keeps Unix file names in the character set of LC_CTYPE. Under the C or POSIX
# locale that is ASCII, and no name with an accent could be made or opened; Linux file
# names are UTF-8, so Wine then gets C.UTF-8 for its characters (Windows code pages and
# languages stay those of the C locale: 1252, 437, English).
if [ "$(locale charmap 2>/dev/null)" = ANSI_X3.4-1968 ]; then
  if [ -n "${LC_ALL:-}" ]; then
    export LANG=$LC_ALL
    unset LC_ALL
  fi
  export LC_CTYPE=C.UTF-8
  locale_env="LANG='${LANG:-}' LC_CTYPE=C.UTF-8; unset LC_ALL"
fi
export WINEPREFIX="$state/prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
tools=$(cd "$(dirname "$0")" && pwd)
if grep -q '^CMAKE_TOOLCHAIN_FILE:.*i686' "$build/CMakeCache.txt" 2>/dev/null; then
  export WINEARCH=win32
  WINE=$tools/wine32.sh
  WINESERVER=("$WINE" --server)
else
  WINE=$tools/wine64.sh # (without address randomization)
  WINESERVER=(/usr/lib/wine/wineserver64)
  [ -x "${WINESERVER[0]}" ] || WINESERVER=("$(command -v wineserver)")
fi

own_display_alive() {
  [ -f "$state/xvfb.pid" ] && [ -f "$state/display" ] &&
    kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null &&
    [ -e "/tmp/.X11-unix/X$(cat "$state/display" | tr -d :)" ]
}

start_xvfb() {
  local n
  for n in $(seq 90 250); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 </dev/null &
    echo $! >"$state/xvfb.pid"
    local i
    for i in $(seq 1 100); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        echo ":$n" >"$state/display"
        return 0
      fi
      kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null || break
      sleep 0.05
    done
  done
  say "could not start Xvfb"
  return 1
}

# Starts the window manager that DUOSCOPE_TEST_WM names on our X server, once.
start_wm() {
  [ -n "${DUOSCOPE_TEST_WM:-}" ] || return 0
  [ -f "$state/wm.pid" ] && kill -0 "$(cat "$state/wm.pid")" 2>/dev/null && return 0
  command -v "$DUOSCOPE_TEST_WM" >/dev/null || { say "no window manager $DUOSCOPE_TEST_WM"; return 1; }
  DISPLAY=$1 setsid "$DUOSCOPE_TEST_WM" >"$state/wm.log" 2>&1 </dev/null &
  echo $! >"$state/wm.pid"
  sleep 1 # (until it has taken the screen: windows made before it stay unmanaged)
}

# Prints why a step of the set-up failed, with the end of the log that has its output.
fail() {
  say "$1 failed (see $2):"
  tail -n 5 "$2" >&2
  return 1
}

setup() {
  [ -z "${WINEARCH:-}" ] || "$WINE" --check || return 1
  if [ -z "${DUOSCOPE_USER_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ] || [ -f "$state/display" ]; then
    own_display_alive || start_xvfb || return 1
    DISPLAY=$(cat "$state/display")
    start_wm "$DISPLAY" || return 1
  fi
  export DISPLAY
  echo "$DISPLAY" >"$state/display.used"
  mkdir -p "$WINEPREFIX"
  setsid "${WINESERVER[@]}" -p >>"$state/wineserver.log" 2>&1 </dev/null || true
  if [ ! -f "$WINEPREFIX/.duoscope-ready" ]; then
    local log="$state/wineboot.log"
    # (wineboot's own status is 1 even when the prefix is complete.)
    "$WINE" wineboot -i >"$log" 2>&1 </dev/null
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] || fail "wineboot" "$log" || return 1
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >>"$log" 2>&1 </dev/null || fail "registry set-up" "$log" || return 1
    # A new prefix's first services are left half started: a second service manager, and
    # RPC's service that never starts, so that every start of the desktop (explorer.exe,
    # when the first window of a while opens) waits 10 s for it. Wine is ended once and
    # starts its services anew.
    "${WINESERVER[@]}" -k >>"$log" 2>&1
    "${WINESERVER[@]}" -w >>"$log" 2>&1
    setsid "${WINESERVER[@]}" -p >>"$state/wineserver.log" 2>&1 </dev/null || true
    touch "$WINEPREFIX/.duoscope-ready"
  fi
  # Without a window manager, Wine's windows are its own (unmanaged: a closed window goes
  # in 5 ms, not 2 s); with one, they are the window manager's, as on a desktop, which
  # then decides which window has the keyboard and takes keys such as Alt+F4.
  local managed=N
  [ -z "${DUOSCOPE_TEST_WM:-}" ] || managed=Y
  if [ "$(cat "$state/managed" 2>/dev/null)" != "$managed" ]; then
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f \
      >>"$state/wineboot.log" 2>&1 </dev/null || fail "registry set-up" "$state/wineboot.log" ||
      return 1
    echo $managed >"$state/managed"
  fi
}

# Lets Wine's own services start here, with their output in the log, rather than under
# the first program, whose pipes they would keep open.
start_services() {
  local log="$state/wineboot.log"
  "$WINE" cmd /c exit >>"$log" 2>&1 </dev/null || fail "start of Wine's services" "$log"
}

case "${1:-}" in
  --stop)
    "${WINESERVER[@]}" -k >/dev/null 2>&1
    "${WINESERVER[@]}" -w >/dev/null 2>&1
    # Linux programs that Wine started but does not track (the adapter's ffplay) still
    # name the prefix in their environment.
    left=$(grep -lsxzF "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ | cut -d/ -f3 | grep -vx "$$")
    [ -z "$left" ] || kill $left 2>/dev/null
    if [ -f "$state/wm.pid" ]; then
      kill "$(cat "$state/wm.pid")" 2>/dev/null
      rm -f "$state/wm.pid"
    fi
    if [ -f "$state/xvfb.pid" ]; then
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null
      rm -f "$state/xvfb.pid" "$state/display"
    fi
    exit 0
    ;;
esac

exec 9>"$state/lock"
flock 9
setup || exit 1
flock -u 9
exec 9>&-

case "${1:-}" in
  --start) start_services; exit ;;
  --env)
    echo "export WINEPREFIX='$WINEPREFIX' WINEDEBUG='$WINEDEBUG' WINEDLLOVERRIDES='$WINEDLLOVERRIDES' DISPLAY='$DISPLAY'"
    [ -z "${locale_env:-}" ] || echo "export $locale_env"
    [ -z "${WINEARCH:-}" ] || echo "export WINEARCH=$WINEARCH"
    exit 0
    ;;
esac
# Wine's long-lived helpers keep the output they were started with (a headless console
# host that outlives an ended console program, say): a caller reading the program's
# output through a pipe, as ctest does, would wait for them. So the program writes into
# files, shown when it ends.
out=$(mktemp "$state/out.XXXXXX")
err=$(mktemp "$state/err.XXXXXX")
"$WINE" "$@" >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
exit $status
