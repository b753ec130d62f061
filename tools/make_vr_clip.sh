#!/usr/bin/env bash
# Makes a VR180 clip (two half-sphere equirectangular eyes side by side) whose flat view
# straight ahead is known, with Debian's ffmpeg:
#
#   make_vr_clip.sh OUT [EYE] [SECONDS] [RATE]
#
# Each eye is EYE x EYE pixels (1024 unless given; 2880 makes a 5.7K film, 5760 x 2880),
# SECONDS long (3) at RATE frames a second (25), H.264 in MP4, nothing in the file says
# VR: name it with a tag (Canyon_180_LR.mp4) or play it as "VR180 side by side".
#
# Each eye is a grey moving pattern (testsrc2, at most half bright) over the whole half
# sphere, with a flat picture 90 degrees wide and 16:9 (the program's default view)
# turned into it with v360 the other way: dark grey, a grid of lines at 120 of its 1920
# pixels, and a white square of 80 pixels in its middle, 24 pixels to the right in the
# left eye and 24 to the left in the right eye (a mark just in front of the screen). The
# program's view straight ahead shows that flat picture again: the mark in the middle of
# each eye, level, the left eye's 48 of 1920 pixels to the right of the right eye's; an
# anaglyph shows it red on its right and cyan on its left.
set -euo pipefail
out=${1:?usage: make_vr_clip.sh OUT [EYE] [SECONDS] [RATE]}
eye=${2:-1024}
seconds=${3:-3}
rate=${4:-25}
half_shift=24 # pixels of the 1920-pixel flat picture, each eye
flat="v360=input=flat:output=hequirect:ih_fov=90:iv_fov=58.72:w=$eye:h=$eye:alpha_mask=1"
mark="drawbox=w=80:h=80:y=ih/2-40:c=white:t=fill"
graph="[0]format=gray,lut=c0=val/2,format=rgba,split[bl][br]"
graph+=";[1]format=rgba,drawgrid=w=120:h=120:t=4:c=0x707070,split[fl][fr]"
graph+=";[fl]${mark}:x=iw/2-40+$half_shift,$flat[ml]"
graph+=";[fr]${mark}:x=iw/2-40-$half_shift,$flat[mr]"
graph+=";[bl][ml]overlay[l];[br][mr]overlay[r];[l][r]hstack,format=yuv420p"
ffmpeg -nostdin -v error -y -f lavfi -i "testsrc2=size=${eye}x${eye}:rate=$rate" \
  -f lavfi -i "color=c=0x303030:size=1920x1080:rate=$rate" -filter_complex "$graph" \
  -t "$seconds" -c:v libx264 -preset ultrafast -g "$rate" "$out"
