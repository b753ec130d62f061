#!/usr/bin/env bash
# The codecs of the Windows player, one row per kind of file users have: Debian's ffmpeg
# makes a 2 s 320x180 clip of the row's video and audio codecs and container (with the
# row's own inputs, such as a text subtitle track of two cues), and the ffprobe.exe
# shipped beside ffplay.exe decodes it to the end under Wine (-count_frames): it must
# find the row's codecs and decode frames (cues) of every stream. The row marked "play"
# is also played to its end by ffplay.exe itself, with SDL's dummy audio driver, on the
# tests' X display: the player must open the audio decoder and keep audio and video in
# step (its status line shows "A-V:" with a number, not "M-V:" of a silent film). The
# row with a text track also has the player's subtitles filter draw it.
#
#   codecs_e2e.sh BUILD_DIR SOURCE_DIR FFPLAY_EXE
# (No -e: a failed check is counted, and the checks go on.)
set -u
BUILD=$(cd "$1" && pwd)
SOURCE=$(cd "$2" && pwd)
. "$SOURCE/tests/e2e/lib.sh"
[ -f "${3:-}" ] || { echo "FAIL: no ffplay.exe [${3:-}]: run tools/build_ffplay.sh"; exit 1; }
player=$3
probe=$(dirname "$player")/ffprobe.exe
dir=$BUILD/e2e-codecs
rm -rf "$dir" && mkdir -p "$dir"
printf '1\n00:00:00,200 --> 00:00:00,900\nLeft\n\n2\n00:00:01,000 --> 00:00:01,800\nRight\n' \
  >"$dir/cues.srt"

# name, container, the codecs ffprobe must find (in stream order), ffmpeg's options
# (CUES: the subtitle file above, as one argument, whatever the build folder's name).
rows="
h264_dts play mkv h264,dts -c:v libx264 -c:a dca -strict -2
h264_truehd - mkv h264,truehd -c:v libx264 -c:a truehd -strict -2
bluray_lpcm - m2ts h264,pcm_bluray -c:v libx264 -c:a pcm_bluray
av1_opus - webm av1,opus -c:v libaom-av1 -cpu-used 8 -c:a libopus
hevc_eac3 - mkv hevc,eac3 -c:v libx265 -x265-params log-level=error -c:a eac3
wmv2_wma2 - wmv wmv2,wmav2 -c:v wmv2 -c:a wmav2
prores - mov prores,pcm_s16le -c:v prores -c:a pcm_s16le
theora_vorbis - ogv theora,vorbis -c:v libtheora -c:a libvorbis
vp9_opus - webm vp9,opus -c:v libvpx-vp9 -deadline realtime -c:a libopus
mpeg4_mp3 - avi mpeg4,mp3 -c:v mpeg4 -c:a libmp3lame
mpeg2_ac3 - mpg mpeg2video,ac3 -c:v mpeg2video -c:a ac3
h264_aac_srt - mkv h264,aac,subrip -i CUES -c:v libx264 -c:a aac -c:s srt
"

# Decodes a clip with ffprobe.exe: one "CODEC FRAMES" line per stream.
probe_counts() {
  "$WINE" "$probe" -v error -count_frames -show_entries stream=index,codec_name,nb_read_frames \
    -of csv=p=0 "$(winpath "$1")" </dev/null 2>"$1.probe.log" | tr -d '\r' |
    awk -F, 'NF >= 3 && !seen[$1]++ { print $2, $3 }'
}

# A path (without "'") as a value of a filter's option inside a graph: a backslash before
# ':' and '\' for the option, the whole in single quotes for the graph.
filter_value() {
  local v=${1//\\/\\\\}
  printf "'%s'" "${v//:/\\:}"
}

# The player's subtitles filter (libass, the font shipped beside it) draws a clip's text
# track onto a black picture: its brightest pixel, dark without words, turns white.
draws_text() {
  local fonts graph brightest
  fonts=$(filter_value "$(winpath "$(dirname "$player")/fonts")")
  graph="color=c=black:s=320x180:d=2,subtitles=filename=$(filter_value "$(winpath "$1")")"
  graph+=":fontsdir=$fonts:force_style='FontName=DejaVu Sans',signalstats"
  brightest=$("$WINE" "$probe" -v error -f lavfi -i "$graph" \
    -show_entries frame_tags=lavfi.signalstats.YMAX -of csv=p=0 </dev/null 2>"$1.draw.log" |
    tr -d '\r' | sort -n | tail -1)
  [ "${brightest:-0}" -ge 200 ] ||
    fail "the subtitles filter drew no text (brightest $brightest): $(tail -c 300 "$1.draw.log")" ||
    return 1
  echo "the player's subtitles filter drew the text track (brightest pixel $brightest)"
}

check_row() {
  local name=$1 play=$2 ext=$3 codecs=$4 clip=$dir/$1.$3 option options=()
  shift 4
  for option in "$@"; do
    [ "$option" != CUES ] || option=$dir/cues.srt
    options+=("$option")
  done
  ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=320x180:rate=25 \
    -f lavfi -i sine=frequency=440:sample_rate=48000 "${options[@]}" -t 2 -ac 2 -pix_fmt yuv420p \
    "$clip" || fail "Debian's ffmpeg could not make $clip" || return 1
  local counts found
  counts=$(probe_counts "$clip")
  found=$(cut -d' ' -f1 <<<"$counts" | paste -sd,)
  expect_eq "codecs ffprobe.exe found" "$codecs" "$found" || return 1
  awk '!($2 ~ /^[0-9]+$/ && $2 > 0) { bad = 1 } END { exit bad }' <<<"$counts" ||
    fail "a stream decoded no frame: $(paste -sd' ' <<<"$counts") $(cat "$clip.probe.log")" ||
    return 1
  echo "ffprobe.exe decoded (codec, frames): $(paste -sd' ' <<<"$counts")"
  [[ ",$codecs," != *,subrip,* ]] || draws_text "$clip" || return 1
  [ "$play" = play ] || return 0
  SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software timeout 60 "$WINE" "$player" -autoexit \
    -x 160 -y 90 -stats "$(winpath "$clip")" </dev/null >"$clip.play.log" 2>&1 ||
    fail "ffplay.exe ended with status $?: $(tail -c 300 "$clip.play.log")" || return 1
  ! grep -E "No decoder|Invalid data|Failed to open" "$clip.play.log" ||
    fail "ffplay.exe could not play $clip" || return 1
  tr '\r' '\n' <"$clip.play.log" | grep -qE 'A-V: *-?[0-9]' ||
    fail "ffplay.exe played $clip without sound: $(tail -c 300 "$clip.play.log")" || return 1
  echo "ffplay.exe played it with sound"
}

while read -r name play ext codecs options; do
  [ -n "$name" ] || continue
  echo "=== $name ($codecs in .$ext)"
  # (The options are words without spaces.)
  # shellcheck disable=SC2086
  if check_row "$name" "$play" "$ext" "$codecs" $options; then
    echo "--- ok: $name"
  else
    echo "--- FAILED: $name ($codecs in .$ext)"
    failures=$((failures + 1))
  fi
done <<<"$rows"
finish
