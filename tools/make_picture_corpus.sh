#!/bin/bash
# Makes the corpus that Auto's look at the picture is judged on, in OUT (default
# build/native/picture-corpus), and each clip's grey pictures as ffprobe prints them.
#
#   tools/make_picture_corpus.sh [OUT]
#
# Stereo pairs made the way 3D films are (two views side by side in space, looking the
# same way, rectified, a modest sideways shift): Middlebury's "aloe" from opencv-doc and
# POV-Ray scenes of povray-examples, each rendered twice with the camera moved sideways.
# Each pair becomes four clips (a slow pan over both eyes alike): side by side and top
# and bottom, half and full, left first. 2D photos of opencv-doc become two clips each,
# 16:9 and 4:3. opencv-doc's wide-baseline, unrectified calibration pairs become "wide"
# clips, only to see where the rule cannot tell. Made once; a clip already made stays.
# Needs ffmpeg, ffprobe, povray, povray-examples and opencv-doc (Debian packages).
set -euo pipefail

OUT=${1:-build/native/picture-corpus}
DATA=/usr/share/doc/opencv-doc/examples/data
POV=/usr/share/doc/povray/examples
# (The pixels' folder is named for the form of ffprobe's lines, so that a corpus made
# before another form is dumped anew.)
PIXELS=pixels-3
mkdir -p "$OUT/eyes" "$OUT/clips" "$OUT/$PIXELS"

# The scenes: file under $POV, the camera's move to each side (scene units, about 2 % of
# the picture's width at the subject between the two views), and "flat" for a scene of
# sky and bare ground, too flat to tell (its clips are named flat-...).
SCENES=(
  "advanced/woodbox.pov 0.15"
  "templates/Basic_Scenes/Checkered_plane.pov 0.015"
  "templates/Basic_Scenes/Grass_partly_cloudy_sky.pov 0.015"
  "templates/Basic_Scenes/Desert_blue_sky.pov 0.015 flat"
  "templates/Basic_Scenes/Sea_partly_cloudy_sky.pov 0.015"
  "templates/Basic_Scenes/DarkBlueSky_Axes.pov 0.015 flat"
)
PHOTOS=(HappyFish aero1 apple baboon building butterfly fruits home messi5 orange
  starry_night squirrel_cls stuff board graf1 leuvenA basketball1 rubberwhale1
  ela_original Blender_Suzanne1 box_in_scene smarties lena)
WIDE=(01 02 03)

# Renders one view of a scene with every camera block moved sideways by `shift`.
render() { # scene shift out.png
  local scene=$1 shift=$2 out=$3 moved
  moved=$OUT/eyes/$(basename "$scene" .pov)-moved.pov
  python3 - "$POV/$scene" "$shift" "$moved" <<'EOF'
import re, sys
text, shift = open(sys.argv[1], encoding='latin-1').read(), sys.argv[2]
out, i = [], 0
for m in re.finditer(r'\bcamera\s*\{', text):
    if m.start() < i:
        continue
    depth, j = 1, m.end()
    while depth:
        depth += {'{': 1, '}': -1}.get(text[j], 0)
        j += 1
    out.append(text[i:j - 1] + ' translate <%s,0,0> ' % shift)
    i = j - 1
out.append(text[i:])
open(sys.argv[3], 'w', encoding='latin-1').write(''.join(out))
EOF
  # (POV-Ray cuts its options at blanks: the files by their names, in their folder.)
  (cd "$(dirname "$out")" && nice povray +I"$(basename "$moved")" +O"$(basename "$out")" \
    +W640 +H360 -D -GA +L"$(dirname "$POV/$scene")" +L/usr/share/povray-3.7/include \
    >/dev/null 2>&1)
}

# A 4 s clip of 25 frames a second panning over `left` (and `right`, the same way).
PAN="scale=768:432:force_original_aspect_ratio=increase,crop=768:432,crop=640:360:x='t*32':y='t*18'"
clip() { # name layout left [right]
  local name=$1 layout=$2 left=$3 right=${4:-} graph
  [ -s "$OUT/clips/$name.mp4" ] && return
  case $layout in
    half-sbs) graph="[0]$PAN,scale=320:360[l];[1]$PAN,scale=320:360[r];[l][r]hstack" ;;
    full-sbs) graph="[0]$PAN[l];[1]$PAN[r];[l][r]hstack" ;;
    half-tab) graph="[0]$PAN,scale=640:180[l];[1]$PAN,scale=640:180[r];[l][r]vstack" ;;
    full-tab) graph="[0]$PAN[l];[1]$PAN[r];[l][r]vstack" ;;
    2d-169) graph="[0]$PAN" ;;
    2d-43) graph="[0]scale=576:432:force_original_aspect_ratio=increase,crop=576:432,crop=480:360:x='t*24':y='t*18'" ;;
  esac
  local inputs=(-loop 1 -framerate 25 -t 4 -i "$left")
  [ -n "$right" ] && inputs+=(-loop 1 -framerate 25 -t 4 -i "$right")
  ffmpeg -v error -y "${inputs[@]}" -filter_complex "$graph,setsar=1,format=yuv420p" \
    -c:v libx264 -preset ultrafast -g 25 "$OUT/clips/$name.mp4"
}

# The grey pictures, asked for as the program asks ffprobe.exe (BuildPictureCommand):
# three pixels a line.
dump() { # clip
  local name graph="" joined="" i=0 p b
  name=$(basename "$1" .mp4)
  for p in 90; do
    graph+="movie=$1:seek_point=$p,trim=end_frame=1,scale=32:32:flags=area,format=gray"
    graph+=",pad=32:33:0:0,split=3[f${i}b0][f${i}b1][f${i}b2];"
    for b in 0 1 2; do
      graph+="[f${i}b$b]crop=32:11:0:$((b * 11)),untile=32x11[f${i}p$b];"
    done
    graph+="[f${i}p0][f${i}p1][f${i}p2]mergeplanes=0x001020:yuv444p,signalstats[f$i];"
    joined+="[f$i]"
    i=$((i + 1))
  done
  ffprobe -v error -f lavfi -i "$graph${joined}concat=n=$i" -show_entries \
    packet_tags=lavfi.signalstats.YAVG,lavfi.signalstats.UAVG,lavfi.signalstats.VAVG \
    -of csv=p=0 >"$OUT/$PIXELS/$name.txt"
}

pair_clips() { # name left right [prefix]
  local layout
  for layout in half-sbs full-sbs half-tab full-tab; do
    clip "${4:-}${layout#*-}-${layout%-*}-$1" "$layout" "$2" "$3"
  done
}

for entry in "${SCENES[@]}"; do
  read -r scene shift flat <<<"$entry"
  name=pov-$(basename "$scene" .pov)
  [ -s "$OUT/eyes/$name-L.png" ] || render "$scene" "-$shift" "$OUT/eyes/$name-L.png"
  [ -s "$OUT/eyes/$name-R.png" ] || render "$scene" "$shift" "$OUT/eyes/$name-R.png"
  pair_clips "$name" "$OUT/eyes/$name-L.png" "$OUT/eyes/$name-R.png" "${flat:+flat-}"
done
pair_clips aloe "$DATA/aloeL.jpg" "$DATA/aloeR.jpg"
for photo in "${PHOTOS[@]}"; do
  for f in "$DATA/$photo".*; do
    [ -e "$f" ] || continue
    clip "2d-169-$photo" 2d-169 "$f"
    clip "2d-43-$photo" 2d-43 "$f"
  done
done
for n in "${WIDE[@]}"; do
  for layout in half-sbs half-tab; do
    clip "wide-${layout#*-}-$n" "$layout" "$DATA/left$n.jpg" "$DATA/right$n.jpg"
  done
done
for c in "$OUT"/clips/*.mp4; do
  [ -s "$OUT/$PIXELS/$(basename "$c" .mp4).txt" ] || dump "$c"
done
echo "$OUT/$PIXELS"
