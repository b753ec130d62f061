#!/usr/bin/env bash
# Runs the fuzz targets of the portable core (preset fuzz: clang's libFuzzer under ASan
# and UBSan; the targets are tests/fuzz/*.cpp, listed in cmake/Fuzz.cmake).
#
#   tools/fuzz.sh [SECONDS] [TARGET...]   builds the preset, then runs each target (all by
#                                         default) for SECONDS (60), all at once (nice'd;
#                                         FUZZ_JOBS=N runs N at a time), each on its seeds
#                                         and on the corpus it grew before
#   tools/fuzz.sh --runs N TARGET...      the short pass of CI (ctest --preset fuzz): N runs
#                                         with -seed=1 from the seeds alone, so the same
#                                         inputs are met on every machine
#
# Seeds and every finding of the past: tests/fuzz/corpus/TARGET (kept small; add a
# finding's input there once it is fixed). The grown corpus: build/fuzz/corpus/TARGET.
# A finding lands in build/fuzz/findings/TARGET/ (crash-*, leak-*, timeout-*); the log of
# each run in build/fuzz/logs/TARGET.log (TARGET-ci.log for --runs), whose last lines the
# script prints. Exits
# non-zero when any target found anything.
set -u
. "$(dirname "$0")/lib.sh"
root=$(cd "$tools_dir/.." && pwd)
build=${DUOSCOPE_FUZZ_BUILD_DIR:-$root/build/fuzz}
seeds=$root/tests/fuzz/corpus

runs=""
seconds=60
if [ "${1:-}" = --runs ]; then
  runs=$2
  shift 2
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
if [ -z "$runs" ]; then
  "$root/tools/setup.sh" || exit 1
  cmake --preset fuzz -S "$root" >/dev/null || exit 1
  nice cmake --build "$build" -j 2 >/dev/null || exit 1
fi
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/fuzz_*; do
    [ -x "$program" ] && [ -f "$program" ] && targets+=("${program##*/fuzz_}")
  done
fi

# run TARGET: one target's run, its output in its log. Returns libFuzzer's status.
run() {
  local name=$1 program=$build/fuzz_$1 corpus=$build/corpus/$1
  local findings=$build/findings/$1 log=$build/logs/$1${runs:+-ci}.log
  local options=(-artifact_prefix="$findings/" -print_final_stats=1)
  mkdir -p "$findings" "$build/logs"
  if [ -n "$runs" ]; then
    # New inputs go into the first folder: a fresh one, so the seeds alone decide the run.
    corpus=$build/ci-corpus/$name
    rm -rf "$corpus"
    options+=(-runs="$runs" -seed=1)
  else
    options+=(-max_total_time="$seconds")
  fi
  mkdir -p "$corpus" "$seeds/$name"
  nice "$program" "${options[@]}" "$corpus" "$seeds/$name" >"$log" 2>&1
}

# report TARGET STATUS: the runs, coverage and finding of a target's last run.
report() {
  local log=$build/logs/$1${runs:+-ci}.log last
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  if [ "$2" -eq 0 ]; then
    say "$1: ${last:-no run}"
  else
    say "$1: FINDING (status $2), last: ${last:-none}"
    grep -E 'ERROR|does not hold|runtime error|Test unit written|SUMMARY' "$log" | head -n 8 >&2
  fi
}

failed=()
max=${FUZZ_JOBS:-${#targets[@]}}
pids=()
names=()
for name in "${targets[@]}"; do
  if [ ! -x "$build/fuzz_$name" ]; then
    say "no target fuzz_$name in $build (build the preset fuzz)"
    failed+=("$name")
    continue
  fi
  while [ "$(jobs -rp | wc -l)" -ge "$max" ]; do wait -n; done
  run "$name" &
  pids+=($!)
  names+=("$name")
done
for i in "${!pids[@]}"; do
  wait "${pids[$i]}"
  status=$?
  report "${names[$i]}" $status
  [ $status -eq 0 ] || failed+=("${names[$i]}")
done
if [ ${#failed[@]} -ne 0 ]; then
  say "findings or failures: ${failed[*]}"
  exit 1
fi
