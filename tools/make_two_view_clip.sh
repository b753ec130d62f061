#!/usr/bin/env bash
# Makes tests/data/two-views.mov, the small spatial (MV-HEVC) clip of the tests: two
# views of 320 x 180, 16 frames at 25 per second, left view first, in a QuickTime file
# whose samples carry timestamps.
#
#   make_two_view_clip.sh [OUTPUT.mov]      (default: tests/data/two-views.mov)
#
# Debian 12's x265 3.5 and FFmpeg 5.1 can neither encode nor mux two views, so this
# builds, natively and only for this, Debian 13's x265 4.1 (with its multiview option)
# and a minimal ffmpeg 7.1.5 (the HEVC demuxer and parser and the QuickTime muxer), from
# their source packages fetched through a private apt state. The tools are kept in
# ${XDG_CACHE_HOME:-~/.cache}/duoscope/two-view-tools; a second run only encodes.
# The tests do not run this: they take the committed clip.
#
# The eyes are grey, as in make_demo_clip.sh: FFmpeg's test pattern lies 4 pixels behind
# the screen and a moving panel 8 pixels in front of it, so that an anaglyph of the two
# views shows red and cyan fringes where they differ, and a view shown twice shows none.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
out=$(realpath -m "${1:-$here/../tests/data/two-views.mov}")
x265_version=4.1-2
ffmpeg_version=7:7.1.5-0+deb13u1
tools=${XDG_CACHE_HOME:-$HOME/.cache}/duoscope/two-view-tools

if [ ! -x "$tools/bin/x265" ] || [ ! -x "$tools/bin/ffmpeg" ]; then
  rm -rf "$tools"
  mkdir -p "$tools/src" "$tools/bin"
  "$here/private_apt.sh" "$tools/apt" --sources "deb-src trixie" >"$tools/apt.log"
  # (Only the upstream archives are needed; Debian's own parts may not be served.)
  for pin in "x265=$x265_version" "ffmpeg=$ffmpeg_version"; do
    (cd "$tools/src" &&
      "$here/private_apt.sh" "$tools/apt" apt-get -q source --download-only "$pin" \
        >>"$tools/apt.log" 2>&1) || true
  done
  x265_tar=$tools/src/x265_${x265_version%-*}.orig.tar.xz
  ffmpeg_tar=$(ls "$tools"/src/ffmpeg_*.orig.tar.xz 2>/dev/null | head -1)
  [ -f "$x265_tar" ] && [ -n "$ffmpeg_tar" ] || {
    say "the source archives did not come down; see $tools/apt.log"
    exit 1
  }
  tar -C "$tools/src" -xf "$x265_tar"
  tar -C "$tools/src" -xf "$ffmpeg_tar"

  say "building x265 ${x265_version%-*} with multiview (a few minutes)"
  mkdir -p "$tools/x265-build"
  (cd "$tools/x265-build" &&
    nice cmake -DENABLE_MULTIVIEW=ON -DENABLE_SHARED=OFF -DCMAKE_BUILD_TYPE=Release \
      "$tools"/src/x265_*/source && nice make -j2 cli) >"$tools/x265-build.log" 2>&1
  cp "$tools/x265-build/x265" "$tools/bin/"

  say "building a minimal ffmpeg ${ffmpeg_version#*:} (a few minutes)"
  mkdir -p "$tools/ffmpeg-build"
  (cd "$tools/ffmpeg-build" &&
    nice "$tools"/src/ffmpeg-*/configure --disable-everything --disable-doc --disable-ffplay \
      --disable-ffprobe --disable-x86asm --disable-autodetect --enable-demuxer=hevc \
      --enable-parser=hevc --enable-muxer=mov --enable-protocol=file &&
    nice make -j2 ffmpeg) >"$tools/ffmpeg-build.log" 2>&1
  cp "$tools/ffmpeg-build/ffmpeg" "$tools/bin/"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The two eyes as raw pictures, made by Debian's ffmpeg.
ffmpeg -nostdin -v error -y \
  -f lavfi -i testsrc=size=320x180:rate=25 -f lavfi -i testsrc2=size=100x76:rate=25 \
  -filter_complex "\
[0]format=gray,split[bl][b0];[b0]pad=iw+4:ih:4:0,crop=iw-4:ih:0:0[br];\
[1]format=gray,split[f1][f2];\
[bl][f1]overlay=x='110+60*sin(t)':y=52,format=yuv420p[l];\
[br][f2]overlay=x='102+60*sin(t)':y=52,format=yuv420p[r]" \
  -map "[l]" -frames:v 16 -f rawvideo "$work/left.yuv" \
  -map "[r]" -frames:v 16 -f rawvideo "$work/right.yuv"
printf -- '--num-views 2\n--format 0\n--input %s\n--input %s\n' \
  "$work/left.yuv" "$work/right.yuv" >"$work/views.cfg"
# Without B-frames every picture has its timestamp in the container.
"$tools/bin/x265" --multiview-config "$work/views.cfg" --input-res 320x180 --fps 25 \
  --input-csp i420 --bframes 0 --frames 16 --log-level error --no-progress \
  "$work/views.hevc"
mkdir -p "$(dirname "$out")"
"$tools/bin/ffmpeg" -nostdin -v error -y -r 25 -i "$work/views.hevc" -c copy -tag:v hvc1 \
  -disposition:v default+multilayer "$out"
say "$out: $(stat -c %s "$out") bytes"
