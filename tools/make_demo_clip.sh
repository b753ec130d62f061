#!/usr/bin/env bash
# Makes a short side-by-side stereo clip with FFmpeg, without any input file:
#
#   make_demo_clip.sh OUTPUT.mp4 [SECONDS]     (default 20 seconds)
#
# Each eye is 640 x 360; the clip is 1280 x 360, left eye on the left ("SBS parallel").
# The pictures are grey, so that in an anaglyph every colour comes from depth alone:
# the background (FFmpeg's test pattern) lies 8 pixels behind the screen, and a moving
# panel (the second test pattern) floats 16 pixels in front of it. Converted to a
# red/cyan anaglyph, their edges show red and cyan fringes.
set -euo pipefail
out=${1:?usage: make_demo_clip.sh OUTPUT.mp4 [SECONDS]}
seconds=${2:-20}
mkdir -p "$(dirname "$out")"
tmp="$out.part.mp4"
ffmpeg -nostdin -v error -y \
  -f lavfi -i testsrc=size=640x360:rate=25 \
  -f lavfi -i testsrc2=size=200x150:rate=25 \
  -filter_complex "\
[0]format=gray,split[bl][b0];\
[b0]pad=iw+8:ih:8:0,crop=iw-8:ih:0:0[br];\
[1]format=gray,split[f1][f2];\
[bl][f1]overlay=x='220+120*sin(t)':y=105[l];\
[br][f2]overlay=x='204+120*sin(t)':y=105[r];\
[l][r]hstack,format=yuv420p" \
  -t "$seconds" -an "$tmp"
mv "$tmp" "$out"
