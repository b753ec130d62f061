# Helpers of the user-level tests, sourced by their scripts with BUILD (the build folder,
# absolute) and SOURCE (the source folder) set. The tests run under the build's Wine
# prefix and display (tools/winerun.sh), drive duoscope.exe from outside with the
# duoctl.exe tool and real keys (xdotool), and look at what a user or a peer sees.

. "$SOURCE/tools/lib.sh" # (SETTINGS_KEY, winpath)
eval "$("$SOURCE/tools/winerun.sh" "$BUILD" --env)"
WINE=$SOURCE/tools/wine64.sh # (without address randomization)
[ "${WINEARCH:-}" != win32 ] || WINE=$SOURCE/tools/wine32.sh
failures=0
started_pids=()

# Runs duoctl.exe; its output and exit code are those of the action.
ctl() { "$WINE" "$BUILD/duoctl.exe" "$@" </dev/null; }

# Runs a Windows console program of the prefix (reg, taskkill) quietly.
wine_quiet() { "$WINE" "$@" </dev/null >/dev/null 2>&1; }

# start_program EXE [ARG]: starts a program through "duoctl run" and sets STARTED to its
# Windows process id; expect_exit_0 collects its exit code later.
declare -A runner_of=()
start_count=0
start_program() {
  start_count=$((start_count + 1))
  local out="$BUILD/duoctl-run.$start_count"
  rm -f "$out"
  ctl run "$@" >"$out" 2>>"$BUILD/duoctl-run.log" &
  local runner=$!
  wait_until 10 '[ -s "$out" ]' || fail "could not start $1" || return 1
  STARTED=$(head -1 "$out")
  [[ "$STARTED" =~ ^[0-9]+$ ]] || fail "duoctl run gave no process id: [$STARTED]" || return 1
  runner_of[$STARTED]=$runner
  started_pids+=("$STARTED")
}

# main_window PID: sets MAIN to the visible main window of a started program; when there
# is none, says whether the program still runs or how it ended. Runs in the calling
# shell, which owns the runner. It waits up to 30 s: when Wine's desktop process has
# to be started again for the program, that start can take 10 s in a new prefix (its
# RPC service does not come up).
main_window() {
  MAIN=$(ctl main "$1" 30000) && return 0
  local runner=${runner_of[$1]}
  if kill -0 "$runner" 2>/dev/null; then
    fail "no main window of process $1, which still runs"
  else
    local code=0
    wait "$runner" || code=$?
    fail "no main window: process $1 has ended with exit code $code"
  fi
}

# Waits (up to 10 s) until a started program has ended, and checks that its exit code
# is 0. Runs in the calling shell, which owns the runner.
expect_exit_0() {
  local runner=${runner_of[$1]}
  wait_until 10 '! kill -0 "$runner" 2>/dev/null' || fail "process $1 did not end" || return 1
  local code=0
  wait "$runner" || code=$?
  expect_eq "exit code of process $1" 0 "$code"
}

# Reports a failed check; the caller returns 1.
fail() {
  echo "FAIL: $*" >&2
  return 1
}

# expect_eq WHAT EXPECTED ACTUAL
expect_eq() {
  [ "$2" == "$3" ] && return 0
  fail "$1: expected [$2], got [$3]"
}

# wait_until LIMIT CONDITION: evaluates the shell text CONDITION every 0.1 s until it
# holds or LIMIT seconds pass.
wait_until() {
  local end=$((SECONDS + $1))
  until eval "$2"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# The registry key's values as "name type data" lines, sorted; empty when it is missing.
settings_in_registry() {
  "$WINE" reg query "$SETTINGS_KEY" </dev/null 2>/dev/null | tr -d '\r' |
    awk 'NF >= 2 && $1 ~ /^n/ { data = (NF >= 3) ? $3 : ""; print $1, $2, data }' | LC_ALL=C sort
}

reset_settings() {
  wine_quiet reg delete "$SETTINGS_KEY" /f
  [ -z "$(settings_in_registry)" ] || fail "the settings key could not be removed"
}

# put_setting NAME TYPE DATA
put_setting() {
  wine_quiet reg add "$SETTINGS_KEY" /v "$1" /t "$2" /d "$3" /f || fail "could not store $1"
}

# Ends the programs that a case started, with what they started (a failed case may
# leave them running), and their runners.
end_started() {
  [ ${#started_pids[@]} -eq 0 ] || ctl end "${started_pids[@]}"
  local pid
  for pid in "${started_pids[@]}"; do
    wait "${runner_of[$pid]}" 2>/dev/null
  done
  started_pids=()
  rm -f "$BUILD"/duoctl-run.[0-9]*
}

# Ends what the running case started and runs its case_cleanup: after each case, and
# once more when the script ends in any way (a failed check, an error, SIGTERM, Ctrl+C).
end_case() {
  end_started
  ! declare -F case_cleanup >/dev/null || case_cleanup
}
trap end_case EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

# run_case NAME: runs the function NAME, counts its failure, cleans up after it.
run_case() {
  local begin=$SECONDS
  echo "=== $1"
  if "$1"; then
    echo "--- ok: $1 ($((SECONDS - begin)) s)"
  else
    echo "--- FAILED: $1"
    failures=$((failures + 1))
  fi
  end_case
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures case(s) failed"
    exit 1
  fi
  echo "all cases passed"
}
