#!/usr/bin/env bash
# Makes the untagged stereo files that Auto's tests play, with Debian's ffmpeg, each one
# 320 x 180 (the photo) or a second of video:
#
#   make_auto_clips.sh FOLDER [FFPROBE_EXE]
#
#   garden.mkv   Matroska flagged top and bottom (StereoMode 3), H.264
#   packed.mp4   640 x 180 H.264 whose frame packing SEI says side by side
#   photo.mpo    two JPEG pictures, the left eye's and the right eye's, one after the other
#
# The eyes are grey and differ by depth (the right eye's picture lies 8 pixels to the
# left), so that an anaglyph of them shows red and cyan fringes. With FFPROBE_EXE, copies
# that program into FOLDER too.
set -euo pipefail
dir=${1:?usage: make_auto_clips.sh FOLDER [FFPROBE_EXE]}
mkdir -p "$dir"
make() { ffmpeg -nostdin -v error -y "$@"; }
pattern=testsrc=size=320x180:rate=25
make -f lavfi -i "$pattern" -t 1 -c:v libx264 -metadata:s:v stereo_mode=top_bottom \
  "$dir/garden.mkv"
make -f lavfi -i "testsrc=size=640x180:rate=25" -t 1 -c:v libx264 \
  -x264-params frame-packing=3 "$dir/packed.mp4"
make -f lavfi -i "$pattern" -filter_complex \
  "[0]format=gray,split[l][r0];[r0]crop=iw-8:ih:8:0,pad=iw+8:ih[r]" \
  -map "[l]" -frames:v 1 -pix_fmt yuvj420p "$dir/left.jpg" \
  -map "[r]" -frames:v 1 -pix_fmt yuvj420p "$dir/right.jpg"
cat "$dir/left.jpg" "$dir/right.jpg" >"$dir/photo.mpo"
rm -f "$dir/left.jpg" "$dir/right.jpg"
if [ -n "${2:-}" ]; then
  cp "$2" "$dir/ffprobe.exe"
fi
