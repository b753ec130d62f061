#!/usr/bin/env bash
# Makes the untagged files that Auto's tests play, with Debian's ffmpeg:
#
#   make_auto_clips.sh FOLDER [FFPROBE_EXE]
#
#   garden.mkv   Matroska flagged top and bottom (StereoMode 3), H.264
#   packed.mp4   640 x 180 H.264 whose frame packing SEI says side by side
#   photo.mpo    two JPEG pictures, the left eye's and the right eye's, one after the other
#   canyon.mp4   1920 x 1080 H.264, 3 seconds, nothing in the file says 3D: half side by side
#   tower.mp4    the same, half top and bottom
#   spiral.mp4   the same picture in 2D
#   valley.mkv   512 x 256 H.264, a VR180 film (Matroska's spherical metadata, mkvmerge's):
#                two half-sphere eyes side by side, its initial view 30 degrees to the side
#   harbour.mkv  2 seconds with two audio tracks (English, the default, and French) and an
#                embedded English SubRip track, flagged default; beside it harbour.fr.srt
#
# The eyes are grey and differ by depth (the right eye's picture lies 8 pixels to the
# left), so that an anaglyph of them shows red and cyan fringes; the three untagged clips
# show a zoom into the Mandelbrot set, the right eye's view 24 pixels to the side, for
# Auto's look at the picture. With FFPROBE_EXE, copies that program into FOLDER too.
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
eyes="[0]scale=2000:1080,split=3[e][f][p];[e]crop=1920:1080:0:0,split[l0][l1]"
eyes+=";[f]crop=1920:1080:24:0,split[r0][r1];[p]crop=1920:1080:40:0[flat]"
eyes+=";[l0]scale=960:1080[hl];[r0]scale=960:1080[hr];[hl][hr]hstack,setsar=1[sbs]"
eyes+=";[l1]scale=1920:540[tl];[r1]scale=1920:540[tr];[tl][tr]vstack,setsar=1[tab]"
h264=(-t 3 -c:v libx264 -preset veryfast -pix_fmt yuv420p)
make -f lavfi -i mandelbrot=size=500x270:rate=25 -filter_complex "$eyes" \
  -map "[sbs]" "${h264[@]}" "$dir/canyon.mp4" -map "[tab]" "${h264[@]}" "$dir/tower.mp4" \
  -map "[flat]" "${h264[@]}" "$dir/spiral.mp4"
make -f lavfi -i testsrc=size=512x256:rate=25 -t 1 -c:v libx264 "$dir/plain.mkv"
# (mkvmerge reads its arguments in the locale's charset: without a locale an accented
# folder name is cut, so it gets names relative to the folder.)
(cd "$dir" && mkvmerge -q -o valley.mkv --stereo-mode 0:1 --projection-type 0:1 \
  --projection-private 0:0000000000000000000000004000000040000000 --projection-pose-yaw 0:30 \
  plain.mkv)
rm -f "$dir/left.jpg" "$dir/right.jpg" "$dir/plain.mkv"
cue() { printf '1\n00:00:00,000 --> 00:00:01,500\n%s\n\n' "$1"; }
cue "Hello harbour" >"$dir/english.srt"
cue "Bonjour le port" >"$dir/harbour.fr.srt"
make -f lavfi -i "$pattern" -f lavfi -i sine=frequency=440 -f lavfi -i sine=frequency=660 \
  -i "$dir/english.srt" -t 2 -map 0:v -map 1:a -map 2:a -map 3:s -c:v libx264 -c:a aac \
  -c:s srt -metadata:s:a:0 language=eng -metadata:s:a:1 language=fre \
  -metadata:s:s:0 language=eng -disposition:a:0 default -disposition:a:1 0 \
  -disposition:s:0 default "$dir/harbour.mkv"
rm -f "$dir/english.srt"
if [ -n "${2:-}" ]; then
  cp "$2" "$dir/ffprobe.exe"
fi
