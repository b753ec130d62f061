#!/usr/bin/env bash
# End to end with FFmpeg's real player: duoscope.exe under Wine, with the Linux adapter
# (tools/ffplay-adapter) as its ffplay.exe, plays the side-by-side demo clip, saved under
# an accented name, first as the original picture, then, after the user unticks "Play
# Original Video" in the Settings dialog and presses Replay, as a red/cyan Dubois
# anaglyph. The player's window is photographed each time: the grey clip shows no red or
# cyan of its own, the anaglyph shows red and cyan fringes where the two eyes' pictures
# differ. The last picture is saved as BUILD_DIR/screenshots/player-anaglyph.png.
# With FFPLAY_EXE, the Windows player of the 64-bit archive runs instead, found in the
# process list (Wine names processes after their programs), from an accented folder with
# the clip under a name beyond any ANSI code page; error-check mode is checked too, and
# Auto, with the ffprobe.exe beside that player, plays a two-picture .mpo photo and the
# two-view (MV-HEVC) clip tests/data/two-views.mov as anaglyphs of both eyes, and a VR180
# clip (tools/make_vr_clip.sh, tagged in its name) as a flat view straight ahead, as an
# anaglyph and as half side by side: the mark in the middle of each eye, level, the left
# eye's to the right of the right eye's; and subtitles, a side file's and an embedded
# track's, in each eye of a side-by-side film, at a depth the user sets, and once in its
# anaglyph. The i686 build runs its own player under 32-bit Wine (tools/wine32.sh).
#
#   player_e2e.sh BUILD_DIR SOURCE_DIR [FFPLAY_EXE]
# (No -e: a failed check is counted, and the checks go on.)
set -u
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
. "$SOURCE/tests/e2e/lib.sh"

ORIGINAL=1003 REPLAY=1004 CMD_SETTING=32771 CMD_REPLAY=32772
CMD_SUBS_NEARER=32790 CMD_SUBS_TRACK_FIRST=32830

windows_player=${3-}
dir=$BUILD/e2e-player
clip_unix="$dir/démo été 3D.mp4"
shot=player-anaglyph
if [ $# -ge 3 ]; then
  [ -f "$3" ] || { echo "FAIL: no ffplay.exe [$3]: run tools/build_ffplay.sh"; exit 1; }
  dir="$BUILD/e2e-lecteur été" clip_unix="$BUILD/e2e-lecteur été/映画 été 3D.mp4"
  shot=player-windows-anaglyph
  export SDL_RENDER_DRIVER=software # (Direct3D drops frames under Wine on Xvfb)
fi
mkdir -p "$dir" "$BUILD/screenshots"
cp "$BUILD/duoscope.exe" "$dir/"
cp "${windows_player:-$SOURCE/tools/ffplay-adapter}" "$dir/ffplay.exe"
[ -z "$windows_player" ] || cp "$(dirname "$windows_player")/ffprobe.exe" "$dir/ffprobe.exe"
chmod +x "$dir/ffplay.exe"
rm -f "$dir/ffplay-adapter.pid"
# The clip under an accented name, as users' files are named; for 32-bit Wine, whose
# emulated player decodes slowly, 2 s at a quarter of the size (the player shows it at
# the same size as the full clip, with the same fringes).
if [ ! -f "$clip_unix" ] && [ "${WINEARCH:-}" = win32 ]; then
  "$SOURCE/tools/make_demo_clip.sh" "$dir/full.mp4" 2 &&
    ffmpeg -nostdin -v error -i "$dir/full.mp4" -vf scale=320:90 "$clip_unix" || exit 1
fi
[ -f "$clip_unix" ] || "$SOURCE/tools/make_demo_clip.sh" "$clip_unix" 10 || exit 1

# The Linux ids of the ffplay.exe processes of this build's Wine prefix, oldest first.
wine_players() {
  for p in $(pgrep -x ffplay.exe); do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$p/environ" && echo "$p"
  done
} 2>/dev/null
# The player started last, and its window.
player_pid() {
  if [ -n "$windows_player" ]; then wine_players | tail -1; else cat "$dir/ffplay-adapter.pid"; fi
} 2>/dev/null
# (xdotool takes an empty pid for any process and names the root window first.)
player_window() {
  [ -n "$1" ] && xdotool search --onlyvisible --pid "$1" --class ffplay 2>/dev/null | head -1
}
window_size() { xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: //p'; }
# The client area of a player's X window as a crop WxH+X+Y: Wine's X window also holds the
# frame Wine draws around the client area (of the window of that title), sides and bottom alike.
client_crop() {
  local outer inner side
  outer=$(window_size "$1") inner=$outer
  [ -z "$windows_player" ] || inner=$(ctl client "$(ctl find "$(xdotool getwindowname "$1")")")
  inner=${inner/ /x}
  side=$(((${outer%x*} - ${inner%x*}) / 2))
  echo "$inner+$side+$((${outer#*x} - ${inner#*x} - side))"
}
alive() { [ -e "/proc/$1" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null; }

# Counts the pixels of a picture whose red exceeds both green and blue by 0.3 (of full
# scale), those whose green and blue both exceed red by 0.3, and gives the mean
# brightness in percent and the picture's size: "RED CYAN MEAN WxH".
colour_counts() {
  local red cyan mean
  red=$(convert "$1" -fx '(r - max(g, b)) > 0.3' -format '%[fx:round(mean*w*h)]' info:)
  cyan=$(convert "$1" -fx '(min(g, b) - r) > 0.3' -format '%[fx:round(mean*w*h)]' info:)
  mean=$(convert "$1" -colorspace gray -format '%[fx:round(100*mean)] %wx%h' info:)
  echo "$red $cyan $mean"
}

# Photographs the client area $4 of window $1 into $2 until `$3 RED CYAN MEAN WxH` holds
# or 10 s pass; prints the last counts.
shoot_until() {
  local end=$((SECONDS + 10)) counts
  while :; do
    import -window "$1" -crop "$4" +repage "$2" 2>/dev/null && counts=$(colour_counts "$2")
    if [ -n "${counts:-}" ] && $3 $counts; then
      echo "$counts"
      return 0
    fi
    if [ "$SECONDS" -ge "$end" ]; then
      echo "${counts:-no picture}"
      return 1
    fi
    sleep 0.2
  done
}

# The original grey picture, the size of the window: lit, and at most 0.1 % of its
# pixels red or cyan.
grey_picture() {
  [ "$4" = "$dims" ] && [ "$3" -ge 15 ] && [ $(($1 * 1000)) -le "$pixels" ] &&
    [ $(($2 * 1000)) -le "$pixels" ]
}
# The anaglyph, the size of the window: at least 1 % of the pixels red and 1 % cyan.
anaglyph_picture() {
  [ "$4" = "$dims" ] && [ $(($1 * 100)) -ge "$pixels" ] && [ $(($2 * 100)) -ge "$pixels" ]
}

case_anaglyph_through_real_player() {
  reset_settings || return 1
  put_setting nOrg REG_SZ 1 && put_setting nStout REG_SZ 17 || return 1
  local pid main first window size counts crop
  start_program "$(winpath "$dir/duoscope.exe")" "$(winpath "$clip_unix")" && pid=$STARTED &&
    main_window "$pid" && main=$MAIN || return 1
  wait_until 15 'first=$(player_pid); [ -n "$first" ]' || fail "no ffplay started" || return 1
  wait_until 15 '[ -n "$(player_window "$first")" ]' || fail "no ffplay window" || return 1
  window=$(player_window "$first")
  size=$(ctl client "$main")
  dims=${size/ /x}
  pixels=$((${size% *} * ${size#* }))
  crop=$(client_crop "$window")
  expect_eq "player window size" "$dims" "${crop%%+*}" || return 1

  counts=$(shoot_until "$window" "$dir/original.png" grey_picture "$crop") ||
    fail "original picture: red, cyan, mean brightness %, size = $counts" || return 1
  echo "original picture ($pixels pixels): red, cyan, mean brightness %, size = $counts"

  ctl command "$main" $CMD_SETTING
  local dialog
  dialog=$(ctl find Setting "$pid") || fail "the Settings dialog did not open" || return 1
  ctl click "$dialog" $ORIGINAL
  wait_until 5 '[ "$(ctl check "$dialog" $ORIGINAL)" = 0 ]' || fail "Play Original still ticked" ||
    return 1
  ctl click "$dialog" $REPLAY
  # One reading of the adapter's record: it is removed and written anew at each start.
  local second
  wait_until 15 'second=$(player_pid); [ -n "$second" ] && [ "$second" != "$first" ]' ||
    fail "Replay started no new player" || return 1
  wait_until 5 '! alive "$first"' || fail "the first player still runs" || return 1
  [ -z "$windows_player" ] || expect_eq "ffplay.exe processes" "$second" "$(wine_players)" ||
    return 1
  wait_until 15 '[ -n "$(player_window "$second")" ]' ||
    fail "no window of the new player" || return 1
  window=$(player_window "$second")
  crop=$(client_crop "$window")
  expect_eq "new player window size" "$dims" "${crop%%+*}" || return 1
  counts=$(shoot_until "$window" "$BUILD/screenshots/$shot.png" anaglyph_picture "$crop") ||
    fail "anaglyph: red, cyan, mean brightness %, size = $counts" || return 1
  echo "anaglyph picture ($pixels pixels): red, cyan, mean brightness %, size = $counts"

  ctl close "$main"
  expect_exit_0 "$pid" || return 1
  expect_settings_line "nOrg REG_SZ 0" || return 1
  expect_settings_line "nStout REG_SZ 17" || return 1
  # Wine does not track the Linux player; the adapter ends it, as tools/run.sh does.
  [ -n "$windows_player" ] || "$dir/ffplay.exe" --end-last
  wait_until 5 '! alive "$second"' || fail "ffplay still runs" || return 1
}

# Error-check mode with NVIDIA's HEVC decoder chosen: this player has none, and its
# console stays open with its own message and the prompt of "pause", the prompt that
# cmd.exe shows in this prefix and language.
case_error_check_shows_player_message() {
  reset_settings || return 1
  put_setting nERCHK REG_SZ 1 && put_setting nGPU REG_SZ 2 || return 1
  local pid main text prompt
  # (cmd.exe /U writes UTF-16 to a file.)
  "$WINE" cmd /u /c pause </dev/null >"$dir/pause.txt" 2>/dev/null
  prompt=$(iconv -f UTF-16LE -t UTF-8 "$dir/pause.txt" | tr -d '\r\n')
  start_program "$(winpath "$dir/duoscope.exe")" "$(winpath "$clip_unix")" && pid=$STARTED &&
    main_window "$pid" && main=$MAIN || return 1
  wait_until 20 'text=$(ctl console "$pid") && grep -qF "${prompt% }" <<<"$text"' ||
    fail "no pause prompt [$prompt] in the console: [${text:-}]" || return 1
  grep -qF "No codec could be found with name 'hevc_cuvid'" <<<"$text" ||
    fail "the console lacks the player's message: [$text]" || return 1
  ctl close "$main"
  expect_exit_0 "$pid"
}

# Auto with untagged files that need the player's own options: each plays as an anaglyph
# of its two eyes (a picture shown for both eyes would show no colour).
case_auto_plays_photo_and_two_views_as_anaglyphs() {
  reset_settings || return 1
  put_setting nStin REG_SZ 14 && put_setting nStout REG_SZ 17 || return 1
  "$SOURCE/tools/make_auto_clips.sh" "$dir/auto" || return 1
  cp "$SOURCE/tests/data/two-views.mov" "$dir/auto/" || return 1
  local file pid main player window size crop counts
  for file in photo.mpo two-views.mov; do
    start_program "$(winpath "$dir/duoscope.exe")" "$(winpath "$dir/auto/$file")" &&
      pid=$STARTED && main_window "$pid" && main=$MAIN || return 1
    wait_until 20 'player=$(player_pid); [ -n "$(player_window "$player")" ]' ||
      fail "$file: no ffplay window" || return 1
    window=$(player_window "$player")
    size=$(ctl client "$main")
    dims=${size/ /x}
    pixels=$((${size% *} * ${size#* }))
    crop=$(client_crop "$window")
    counts=$(shoot_until "$window" "$dir/auto-$file.png" anaglyph_picture "$crop") ||
      fail "$file: red, cyan, mean brightness %, size = $counts" || return 1
    echo "$file as anaglyph ($pixels pixels): red, cyan, mean brightness %, size = $counts"
    ctl close "$main"
    expect_exit_0 "$pid" || return 1
    wait_until 5 '! alive "$player"' || fail "$file: ffplay still runs" || return 1
  done
}

# The box WxH+X+Y of the pixels of picture $1 for which the -fx test $2 holds; "" for none.
mark_box() {
  local box
  box=$(convert "$1" -fx "$2" -threshold 50% -format '%@' info: 2>/dev/null)
  case $box in 0x0* | "") echo "" ;; *) echo "$box" ;; esac
}
# The box's centre, doubled so that it stays whole: "2X 2Y".
box_centre2() {
  local w=${1%%x*} rest=${1#*x}
  local h=${rest%%+*} xy=${rest#*+}
  echo "$((2 * ${xy%+*} + w)) $((2 * ${xy#*+} + h))"
}
# Checks two eyes' marks, centres (doubled) $1 $2 and $3 $4, seen in a view $5 wide and
# $6 high of two eyes each drawn $7 wide: both in the middle (within a twentieth of the
# view), on one level (within 2 pixels), the left eye's to the right of the right eye's by
# about 48 of 1920 pixels of the eye's width (from a half to twice that).
expect_marks() {
  local lx=$1 ly=$2 rx=$3 ry=$4 w=$5 h=$6 eye=$7 offset
  offset=$((lx - rx)) # doubled
  [ $((20 * (lx > w ? lx - w : w - lx))) -le $((2 * w)) ] &&
    [ $((20 * (rx > w ? rx - w : w - rx))) -le $((2 * w)) ] &&
    [ $((20 * (ly > h ? ly - h : h - ly))) -le $((2 * h)) ] &&
    [ $((ly > ry ? ly - ry : ry - ly)) -le 4 ] &&
    [ $((1920 * offset)) -ge $((48 * eye)) ] && [ $((1920 * offset)) -le $((4 * 48 * eye)) ]
}

# A VR180 film, tagged only in its name, plays as a flat view straight ahead: as an
# anaglyph (the left eye's mark in red, the right eye's in green and blue) and as half
# side by side (each half an eye), the mark in the middle of each eye, level, with the
# eyes' offset kept.
case_vr180_plays_as_flat_view() {
  reset_settings || return 1
  put_setting nStin REG_SZ 14 || return 1
  local clip="$dir/vr/Canyon_180_LR.mp4" out pid main player window crop left right
  [ -f "$clip" ] || { mkdir -p "$dir/vr" && "$SOURCE/tools/make_vr_clip.sh" "$clip" 1024 3; } ||
    return 1
  for out in 17 2; do
    put_setting nStout REG_SZ $out || return 1
    start_program "$(winpath "$dir/duoscope.exe")" "$(winpath "$clip")" && pid=$STARTED &&
      main_window "$pid" && main=$MAIN || return 1
    wait_until 30 'player=$(player_pid); [ -n "$(player_window "$player")" ]' ||
      fail "VR180 $out: no ffplay window" || return 1
    window=$(player_window "$player")
    crop=$(client_crop "$window")
    local shotfile="$BUILD/screenshots/player-vr180-$out.png" w h found=
    w=${crop%%x*} h=${crop#*x} h=${h%%+*}
    local end=$((SECONDS + 20))
    while [ "$SECONDS" -lt "$end" ] && [ -z "$found" ]; do
      sleep 0.5
      import -window "$window" -crop "$crop" +repage "$shotfile" 2>/dev/null || continue
      if [ "$out" = 17 ]; then
        left=$(mark_box "$shotfile" 'r > 0.7') right=$(mark_box "$shotfile" 'min(g, b) > 0.7')
        [ -n "$left" ] && [ -n "$right" ] &&
          expect_marks $(box_centre2 "$left") $(box_centre2 "$right") "$w" "$h" "$w" && found=1
      else
        convert "$shotfile" -crop $((w / 2))x$h+0+0 +repage "$dir/vr/left.png"
        convert "$shotfile" -crop $((w / 2))x$h+$((w / 2))+0 +repage "$dir/vr/right.png"
        left=$(mark_box "$dir/vr/left.png" 'min(r, min(g, b)) > 0.7')
        right=$(mark_box "$dir/vr/right.png" 'min(r, min(g, b)) > 0.7')
        [ -n "$left" ] && [ -n "$right" ] &&
          expect_marks $(box_centre2 "$left") $(box_centre2 "$right") $((w / 2)) "$h" \
            $((w / 2)) && found=1
      fi
    done
    [ -n "$found" ] || fail "VR180 as output $out: marks [$left] [$right] in $crop" || return 1
    echo "VR180 as output $out: the eyes' marks $left and $right in $crop"
    ctl close "$main"
    expect_exit_0 "$pid" || return 1
    wait_until 5 '! alive "$player"' || fail "VR180 $out: ffplay still runs" || return 1
  done
}

# Subtitles in each eye: a dark side-by-side clip with an embedded ASS track (its words at
# the top) and a French side file (at the bottom), which the rule takes first. As side by
# side, the words show in both halves on one level at one place; Nearer (from a stored
# depth of 4) moves them apart, the left eye's to the right; the embedded track, chosen
# in the menu, shows at the top once its side file is made (a Replay when it was not
# there yet); as an anaglyph the words show once, in the middle.
case_subtitles_in_each_eye() {
  reset_settings || return 1
  put_setting nStin REG_SZ 0 && put_setting nStout REG_SZ 0 && put_setting nSubDepth REG_SZ 4 ||
    return 1
  local sub="$dir/subs" pid main player window="" crop w h shotfile left right
  mkdir -p "$sub"
  printf '[Script Info]\nScriptType: v4.00+\nPlayResX: 384\nPlayResY: 288\n\n[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\nStyle: Default,Arial,28,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,0,0,8,10,10,10,1\n\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\nDialogue: 0,0:00:00.00,0:01:00.00,Default,,0,0,0,,EEEE\n' >"$sub/en.ass"
  printf '1\n00:00:00,000 --> 00:01:00,000\nMMMM\n' >"$sub/film.fr.srt"
  [ -f "$sub/film.mkv" ] || ffmpeg -nostdin -v error -f lavfi -i color=c=0x202020:s=1280x360:r=25:d=60 \
    -i "$sub/en.ass" -c:v libx264 -preset ultrafast -c:s ass -metadata:s:s:0 language=eng \
    "$sub/film.mkv" || return 1
  # Photographs the player's window until the words show in each half (left and right
  # get their boxes, in window pixels, X relative to the half) where test $2 holds.
  words_in_halves() {
    local end=$((SECONDS + ${3:-15}))
    while [ "$SECONDS" -lt "$end" ]; do
      sleep 0.5
      # (import has been seen to hang while the player before is ended)
      timeout 5 import -window "$window" -crop "$crop" +repage "$shotfile" 2>/dev/null || continue
      convert "$shotfile" -crop $((w / 2))x$h+0+0 +repage "$sub/left.png"
      convert "$shotfile" -crop $((w / 2))x$h+$((w / 2))+0 +repage "$sub/right.png"
      left=$(mark_box "$sub/left.png" 'min(r, min(g, b)) > 0.7')
      right=$(mark_box "$sub/right.png" 'min(r, min(g, b)) > 0.7')
      [ -n "$left" ] && [ -n "$right" ] && $1 $(box_centre2 "$left") $(box_centre2 "$right") &&
        return 0
    done
    return 1
  }
  # Centres (doubled): on one level; at one place; apart, the left eye's to the right;
  # in the top or bottom half.
  level() { [ $(($2 > $4 ? $2 - $4 : $4 - $2)) -le 4 ]; }
  together() { level "$@" && [ $(($1 > $3 ? $1 - $3 : $3 - $1)) -le 6 ]; }
  apart() { level "$@" && [ $(($1 - $3)) -ge 8 ]; }
  bottom() { together "$@" && [ "$2" -gt "$h" ]; }
  top() { level "$@" && [ "$2" -lt "$h" ]; }
  # The next player and its window (not the window of the player before, which Wine may
  # still show under the new one's process id while it closes).
  next_player() {
    local before=${1:-} old=${window:-}
    wait_until 30 'player=$(player_pid); [ "$player" != "$before" ] &&
      window=$(player_window "$player") && [ -n "$window" ] && [ "$window" != "$old" ]' ||
      fail "subtitles: no new ffplay window" || return 1
    crop=$(client_crop "$window")
    w=${crop%%x*} h=${crop#*x} h=${h%%+*}
  }

  start_program "$(winpath "$dir/duoscope.exe")" "$(winpath "$sub/film.mkv")" && pid=$STARTED &&
    main_window "$pid" && main=$MAIN || return 1
  # The stored depth, 4 steps nearer, then Nearer once more.
  next_player && shotfile="$BUILD/screenshots/player-subtitles-depth4.png" || return 1
  words_in_halves apart || fail "depth 4: side file words [$left] [$right] in $crop" || return 1
  echo "subtitles at depth 4: the eyes' words $left and $right in $crop"
  local offset4=$(($(box_centre2 "$left" | cut -d' ' -f1) - $(box_centre2 "$right" | cut -d' ' -f1)))
  ctl command "$main" $CMD_SUBS_NEARER
  next_player "$player" && shotfile="$BUILD/screenshots/player-subtitles-depth5.png" || return 1
  words_in_halves apart || fail "depth 5: words [$left] [$right] in $crop" || return 1
  local offset5=$(($(box_centre2 "$left" | cut -d' ' -f1) - $(box_centre2 "$right" | cut -d' ' -f1)))
  [ "$offset5" -gt "$offset4" ] || fail "Nearer did not move the words apart: $offset4 -> $offset5" ||
    return 1
  echo "subtitles at depth 5: $left and $right, the eyes' offset $offset4 -> $offset5 (doubled)"
  ctl close "$main"
  expect_exit_0 "$pid" || return 1
  expect_settings_line "nSubDepth REG_SZ 5" || return 1

  # At the screen: as side by side, then the embedded track, then as an anaglyph.
  put_setting nSubDepth REG_SZ 0 || return 1
  window="" # (a new program: any window of its player will do)
  start_program "$(winpath "$dir/duoscope.exe")" "$(winpath "$sub/film.mkv")" && pid=$STARTED &&
    main_window "$pid" && main=$MAIN || return 1
  next_player && shotfile="$BUILD/screenshots/player-subtitles-sbs.png" || return 1
  words_in_halves bottom || fail "side by side: side file words [$left] [$right] in $crop" ||
    return 1
  echo "subtitles side by side: the side file's words $left and $right in $crop"
  # The embedded track: the film plays again at once, and again by itself once the
  # track's side file is made; the player that stays shows its words.
  ctl command "$main" $CMD_SUBS_TRACK_FIRST
  local settled
  wait_until 30 'settled=$(player_pid); sleep 3; [ "$settled" != "$player" ] &&
    [ "$(player_pid)" = "$settled" ] && [ -n "$(player_window "$settled")" ]' ||
    fail "embedded track: no player settled" || return 1
  player=$settled window=$(player_window "$player") crop=$(client_crop "$window")
  shotfile="$BUILD/screenshots/player-subtitles-track.png"
  words_in_halves top || fail "embedded track: words [$left] [$right] in $crop" || return 1
  echo "subtitles side by side: the embedded track's words $left and $right in $crop"
  ctl close "$main"
  expect_exit_0 "$pid" || return 1

  put_setting nStout REG_SZ 17 || return 1
  window="" # (a new program: any window of its player will do)
  start_program "$(winpath "$dir/duoscope.exe")" "$(winpath "$sub/film.mkv")" && pid=$STARTED &&
    main_window "$pid" && main=$MAIN || return 1
  next_player && shotfile="$BUILD/screenshots/player-subtitles-anaglyph.png" || return 1
  local box="" end=$((SECONDS + 15)) found=
  while [ "$SECONDS" -lt "$end" ] && [ -z "$found" ]; do
    sleep 0.5
    timeout 5 import -window "$window" -crop "$crop" +repage "$shotfile" 2>/dev/null || continue
    box=$(mark_box "$shotfile" 'min(r, min(g, b)) > 0.7')
    [ -n "$box" ] || continue
    set -- $(box_centre2 "$box")
    # Once: one box, narrower than half the view, in the middle, at the bottom.
    [ $((4 * ${box%%x*})) -lt $((2 * w)) ] && [ $((20 * ($1 > w ? $1 - w : w - $1))) -le $((2 * w)) ] &&
      [ "$2" -gt "$h" ] && found=1
  done
  [ -n "$found" ] || fail "anaglyph: the words' box [$box] in $crop" || return 1
  echo "subtitles as anaglyph: the words once, $box in $crop"
  ctl close "$main"
  expect_exit_0 "$pid" || return 1
  wait_until 5 '! alive "$player"' || fail "subtitles: ffplay still runs" || return 1
}

expect_settings_line() {
  settings_in_registry | grep -qx "$1" || fail "stored settings lack [$1]: $(settings_in_registry)"
}

# Ends every player that a failed case leaves running: Wine ends the Windows player with
# the program's tree; Linux ffplay processes that the adapter started in this prefix
# (their environment names it), the last one and any before it, are ended here.
adapter_players() {
  for p in $(pgrep -x ffplay); do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "/proc/$p/environ" && echo "$p"
  done
} 2>/dev/null
end_adapter_players() {
  "$dir/ffplay.exe" --end-last
  local left
  left=$(adapter_players)
  [ -z "$left" ] || kill $left
}
[ -n "$windows_player" ] || case_cleanup() { end_adapter_players; }

run_case case_anaglyph_through_real_player
[ -z "$windows_player" ] || run_case case_error_check_shows_player_message
[ -z "$windows_player" ] || run_case case_auto_plays_photo_and_two_views_as_anaglyphs
[ -z "$windows_player" ] || [ "${WINEARCH:-}" = win32 ] || run_case case_vr180_plays_as_flat_view
[ -z "$windows_player" ] || [ "${WINEARCH:-}" = win32 ] || run_case case_subtitles_in_each_eye
finish
