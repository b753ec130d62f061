#!/usr/bin/env bash
# User-level tests of the built duoscope.exe, as a black box under Wine and Xvfb:
#
#   user_tests.sh BUILD_DIR SOURCE_DIR
#
# A copy of duoscope.exe runs from a folder of its own beside the stand-in player
# (ffplay.exe of the build, which logs its command line and waits until its console is
# closed). The tests type real keys with xdotool, post menu commands and work the
# dialogs from another process (duoctl.exe), and check what a user or a peer sees: the
# registry key after the program has closed, the launch script in the temporary folder,
# the exact command line that the player receives, and which players still run.
# (No -e: a failed check is counted, and the checks go on.)
set -u
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
. "$SOURCE/tests/e2e/lib.sh"

# Control ids of the dialogs and the menu commands (res/resource.h).
IDOK=1 IDCANCEL=2 FULLSCREEN=1000 STEREO_IN=1001 STEREO_OUT=1002 REPLAY=1004 ERROR_CHECK=1008
FILE_NAME=1152 # the file name field of Wine's Open dialog
CMD_EXIT=105 CMD_SETTING=32771 CMD_REPLAY=32772

dir=$BUILD/user-tests
rm -rf "$dir"
mkdir -p "$dir"
cp "$BUILD/duoscope.exe" "$BUILD/ffplay.exe" "$dir/"
program=$(winpath "$dir/duoscope.exe")
player=$(winpath "$dir/ffplay.exe")
clip_unix="$dir/holiday clip.mp4"
printf 'not a real video: the stand-in player does not read it\n' >"$clip_unix"
clip=$(winpath "$clip_unix")
log=$dir/standin.log
export DUOSCOPE_STANDIN_LOG
DUOSCOPE_STANDIN_LOG=$(winpath "$log")

# The stand-in's records: "pid<TAB>command line" per start.
starts() { [ -f "$log" ] && wc -l <"$log" || echo 0; }
start_pid() { sed -n "$1p" "$log" | cut -f1; }
start_line() { sed -n "$1p" "$log" | cut -f2-; }
wait_starts() {
  local count=$1
  wait_until 10 '[ "$(starts)" -ge "$count" ]' ||
    fail "expected $count player start(s), saw $(starts)"
}
# Waits until none of the given Windows processes runs.
wait_ended() {
  local pids="$*"
  wait_until 10 '[ -z "$(ctl running $pids)" ]' || fail "still running: $(ctl running $pids)"
}

# player_line FULL DECODER FILTER "W H" MEDIA: the command line duoscope gives the
# player: the player's path, the full-screen, decoder and filter options (each may be
# empty), the client size and the media path, each path in the form the program hands
# over (short where a code page lacks a letter of the checkout's folder).
player_line() {
  printf '"%s" %s %s %s -x %s -y %s "%s"' "$(ctl handed "$player")" "$1" "$2" "$3" "${4% *}" \
    "${4#* }" "$(ctl handed "$5")"
}

# The launch script as the command interpreter reads it, in UTF-8 hex, or "missing".
script_hex() { ctl script; }
hex_of() { printf '%s' "$1" | od -An -tx1 -v | tr -d ' \n'; }

# Gives the keyboard to the (one) main window $1: X's input focus and Windows'
# foreground window, which need not follow each other under Wine.
focus_main() {
  local main=$1 xw
  xw=$(xdotool search --onlyvisible --name '^duoscope$')
  [ "$(echo "$xw" | wc -w)" = 1 ] ||
    fail "not one visible X window titled duoscope: [$xw]" || return 1
  ctl focus "$main"
  xdotool windowfocus "$xw"
  wait_until 2 '[ "$(xdotool getwindowfocus)" = "$xw" ] && [ "$(ctl foreground)" = "$main" ]' ||
    fail "the main window did not get the keyboard" || return 1
}

# expect_settings ERCHK FULL GPU ORG STIN STOUT: the key holds exactly these six values
# and the subtitles' two (as a run that never changed them stores them), each as REG_SZ
# text.
expect_settings() {
  local want=""
  local name
  for name in nERCHK nFull nGPU nOrg nStin nStout; do
    want+="$name REG_SZ $1"$'\n'
    shift
  done
  want+="nSubDepth REG_SZ 0"$'\n'"nSubs REG_SZ 1"$'\n'
  expect_eq "stored settings" "${want%$'\n'}" "$(settings_in_registry)"
}

# The typical request, by keys: output 17 is stored, the user presses O,
# names the file in the Open dialog and confirms with Enter. Also the keys that do and
# do not open dialogs, the launch script's life and the close by Alt+F4.
case_typical_request_by_keys() {
  reset_settings && put_setting nStout REG_SZ 17 || return 1
  rm -f "$log"
  local pid main size
  start_program "$program" && pid=$STARTED && main_window "$pid" && main=$MAIN || return 1
  focus_main "$main" || return 1

  # Ctrl+O does nothing: the Alt+/ typed after it opens About, and no Open dialog shows.
  xdotool key ctrl+o alt+slash
  local about
  about=$(ctl find About "$pid") || fail "About did not open after Ctrl+O, Alt+/" || return 1
  ctl gone "Open Media File" "$pid" || fail "Ctrl+O opened the Open dialog" || return 1
  expect_eq "About's button" "OK" "$(ctl text "$about" $IDOK)" || return 1
  xdotool key Return
  ctl gone About "$pid" 3000 || fail "Enter did not close About" || return 1
  # Which X window has the keyboard after a dialog has gone is the window manager's
  # choice (openbox gives it to a window of its own): the user clicks the main window.
  focus_main "$main" || return 1
  xdotool key alt+question
  ctl find About "$pid" >/dev/null || fail "Alt+? did not open About" || return 1
  xdotool key Escape
  ctl gone About "$pid" 3000 || fail "Esc did not close About" || return 1

  focus_main "$main" || return 1
  xdotool key o
  local open
  open=$(ctl find "Open Media File" "$pid") || fail "O did not open the Open dialog" || return 1
  ctl settext "$open" $FILE_NAME "$clip" || return 1
  xdotool key Return
  ctl gone "Open Media File" "$pid" 5000 || fail "Enter did not confirm the file" || return 1
  wait_starts 1 || return 1
  size=$(ctl client "$main")
  expect_eq "player command" "$(player_line "" "" "-vf stereo3d=sbsl:arcd" "$size" "$clip")" \
    "$(start_line 1)" || return 1
  ctl ping "$main" || fail "the window does not answer while the player runs" || return 1

  focus_main "$main" || return 1
  xdotool key alt+F4
  expect_exit_0 "$pid" || return 1
  wait_ended "$(start_pid 1)" || return 1
  # Without error-check mode the script is deleted; it is gone once cmd.exe has ended.
  wait_until 5 '[ "$(script_hex)" = missing ]' ||
    fail "the launch script is still there" || return 1
  expect_settings 0 0 0 0 0 17
}

# Settings chosen in the Settings dialog are used at once by Replay, are stored when
# the program closes, and are used and shown again after a restart. Error-check mode
# keeps the launch script, with its pause line, also after the player has ended.
# (Under Wine the script of an error-check launch that follows a normal launch in the
# same run goes when its console closes: the normal launch's deletion is still pending
# while the first cmd.exe holds the file. So the kept script is checked after the end
# of the second run only.)
case_settings_survive_restart() {
  reset_settings || return 1
  rm -f "$log"
  local pid main size dialog
  start_program "$program" "\"$clip\"" && pid=$STARTED && main_window "$pid" && main=$MAIN || return 1
  wait_starts 1 || return 1
  size=$(ctl client "$main")
  expect_eq "first command" "$(player_line "" "" "-vf stereo3d=sbsl:sbsl" "$size" "$clip")" \
    "$(start_line 1)" || return 1

  ctl command "$main" $CMD_SETTING
  dialog=$(ctl find Setting "$pid") || fail "the Settings dialog did not open" || return 1
  ctl shown "$dialog" $REPLAY || fail "Replay is hidden although a file is current" || return 1
  ctl click "$dialog" $FULLSCREEN
  ctl click "$dialog" $ERROR_CHECK
  ctl select "$dialog" $STEREO_IN 2
  ctl select "$dialog" $STEREO_OUT 16
  wait_until 5 '[ "$(ctl check "$dialog" $ERROR_CHECK)" = 1 ]' ||
    fail "error check not ticked" || return 1
  ctl click "$dialog" $REPLAY
  wait_starts 2 || return 1
  local line
  line=$(player_line "-fs" "" "-vf stereo3d=sbs2l:arcc" "$size" "$clip")
  expect_eq "replayed command" "$line" "$(start_line 2)" || return 1
  ctl gone Setting "$pid" 5000 || fail "Replay did not close the dialog" || return 1
  wait_ended "$(start_pid 1)" || return 1
  expect_eq "kept launch script" "$(hex_of "$line"$'\n'"pause")" "$(script_hex)" || return 1

  ctl command "$main" $CMD_EXIT
  expect_exit_0 "$pid" || return 1
  wait_ended "$(start_pid 2)" || return 1
  expect_settings 1 1 0 0 2 16 || return 1

  # The restarted program plays with the stored settings and shows them.
  start_program "$program" "$clip" && pid=$STARTED && main_window "$pid" && main=$MAIN || return 1
  wait_starts 3 || return 1
  expect_eq "command after the restart" "$line" "$(start_line 3)" || return 1
  ctl command "$main" $CMD_SETTING
  dialog=$(ctl find Setting "$pid") || fail "the Settings dialog did not open again" || return 1
  expect_eq "full screen box" 1 "$(ctl check "$dialog" $FULLSCREEN)" || return 1
  expect_eq "error check box" 1 "$(ctl check "$dialog" $ERROR_CHECK)" || return 1
  expect_eq "input layout" "Half SBS parallel" "$(ctl text "$dialog" $STEREO_IN)" || return 1
  expect_eq "output layout" "anaglyph red/cyan color" "$(ctl text "$dialog" $STEREO_OUT)" ||
    return 1
  ctl click "$dialog" $IDCANCEL
  ctl gone Setting "$pid" 5000 || fail "the Settings dialog did not close" || return 1
  ctl close "$main"
  expect_exit_0 "$pid" || return 1
  wait_ended "$(start_pid 3)" || return 1
  # Error-check mode keeps the script after the player and its console have ended.
  expect_eq "launch script after the run" "$(hex_of "$line"$'\n'"pause")" "$(script_hex)" ||
    return 1
  expect_settings 1 1 0 0 2 16
}

# Two instances share the key: each stores all six values when it closes, so the one
# that closes last decides, here the one that was started first. Without a current
# file the Settings dialog offers no Replay.
case_two_instances() {
  reset_settings || return 1
  local first second main1 main2 dialog
  start_program "$program" && first=$STARTED && main_window "$first" && main1=$MAIN || return 1
  start_program "$program" && second=$STARTED && main_window "$second" && main2=$MAIN || return 1

  ctl command "$main1" $CMD_SETTING
  dialog=$(ctl find Setting "$first") || fail "the Settings dialog did not open" || return 1
  if ctl shown "$dialog" $REPLAY; then
    fail "Replay shown without a current file"
    return 1
  fi
  ctl select "$dialog" $STEREO_OUT 5
  ctl click "$dialog" $IDOK
  ctl gone Setting "$first" 5000 || fail "the Settings dialog did not close" || return 1

  ctl command "$main2" $CMD_SETTING
  dialog=$(ctl find Setting "$second") || fail "the Settings dialog did not open" || return 1
  ctl select "$dialog" $STEREO_OUT 9
  ctl click "$dialog" $FULLSCREEN
  wait_until 5 '[ "$(ctl check "$dialog" $FULLSCREEN)" = 1 ]' || fail "full screen not ticked" ||
    return 1
  ctl click "$dialog" $IDOK
  ctl gone Setting "$second" 5000 || fail "the Settings dialog did not close" || return 1

  ctl close "$main2"
  expect_exit_0 "$second" || return 1
  expect_settings 0 1 0 0 0 9 || return 1
  ctl close "$main1"
  expect_exit_0 "$first" || return 1
  expect_settings 0 0 0 0 0 5
}

# A file the player cannot play: the player ends at once; the program goes on answering,
# plays again on Replay, and deletes the script each time.
case_bad_file() {
  reset_settings || return 1
  rm -f "$log"
  local bad pid main
  bad=$(winpath "$dir/end-at-once.mp4")
  : >"$dir/end-at-once.mp4" # (a file, so that it has a short form where it needs one)
  # (The stand-in ends at once for this variable too: a short form hides the name.)
  DUOSCOPE_STANDIN_END_AT_ONCE=1 start_program "$program" "$bad" && pid=$STARTED &&
    main_window "$pid" && main=$MAIN || return 1
  wait_starts 1 || return 1
  ctl ping "$main" 2000 || fail "no answer after the failed start" || return 1
  wait_ended "$(start_pid 1)" || return 1
  ctl command "$main" $CMD_REPLAY
  wait_starts 2 || return 1
  wait_ended "$(start_pid 2)" || return 1
  ctl ping "$main" 2000 || fail "no answer after the failed replay" || return 1
  wait_until 5 '[ "$(script_hex)" = missing ]' || fail "the launch script was kept" || return 1
  ctl close "$main"
  expect_exit_0 "$pid"
}

# Values edited by hand: a negative index, an index past the list, text, a text too long
# for the 100-byte read (taken as missing), a REG_DWORD (read as text: 0x32 is "2"),
# nERCHK missing. The program starts, plays the first layouts for the out-of-range
# indexes, and writes every value back as REG_SZ text of what it read.
case_hand_edited_registry() {
  reset_settings || return 1
  rm -f "$log"
  put_setting nStin REG_SZ -1 && put_setting nStout REG_SZ 40 && put_setting nOrg REG_SZ abc &&
    put_setting nFull REG_SZ "$(printf '1%.0s' $(seq 150))" && put_setting nGPU REG_DWORD 50 ||
    return 1
  local pid main size dialog
  start_program "$program" "$clip" && pid=$STARTED && main_window "$pid" && main=$MAIN || return 1
  wait_starts 1 || return 1
  size=$(ctl client "$main")
  local line
  line=$(player_line "" "-vcodec hevc_cuvid" "-vf stereo3d=sbsl:sbsl" "$size" "$clip")
  expect_eq "command" "$line" "$(start_line 1)" || return 1

  ctl command "$main" $CMD_SETTING
  dialog=$(ctl find Setting "$pid") || fail "the Settings dialog did not open" || return 1
  expect_eq "full screen box" 0 "$(ctl check "$dialog" $FULLSCREEN)" || return 1
  expect_eq "input selection" -1 "$(ctl cursel "$dialog" $STEREO_IN)" || return 1
  expect_eq "output selection" -1 "$(ctl cursel "$dialog" $STEREO_OUT)" || return 1
  ctl click "$dialog" $IDCANCEL
  ctl gone Setting "$pid" 5000 || fail "the Settings dialog did not close" || return 1
  ctl close "$main"
  expect_exit_0 "$pid" || return 1
  expect_settings 0 0 2 0 -1 40 || return 1

  # OK in Settings keeps the layouts that its lists cannot show, and sets the decoder
  # from the dialog, which has no decoder buttons: 0.
  start_program "$program" && pid=$STARTED && main_window "$pid" && main=$MAIN || return 1
  ctl command "$main" $CMD_SETTING
  dialog=$(ctl find Setting "$pid") || fail "the Settings dialog did not open" || return 1
  ctl click "$dialog" $IDOK
  ctl gone Setting "$pid" 5000 || fail "the Settings dialog did not close" || return 1
  ctl close "$main"
  expect_exit_0 "$pid" || return 1
  expect_settings 0 0 0 0 -1 40
}

# Further arguments name the cases to run; all run without them.
cases=("${@:3}")
[ ${#cases[@]} -ne 0 ] || cases=(case_typical_request_by_keys case_settings_survive_restart
  case_two_instances case_bad_file case_hand_edited_registry)
for name in "${cases[@]}"; do
  run_case "$name"
done
finish
