#!/usr/bin/env bash
# Builds the Windows player shipped beside duoscope.exe: a static x86_64 ffplay.exe
# cross-built with MinGW-w64 from Debian's source packages of SDL2 and FFmpeg (the
# versions pinned below), with FFmpeg's own components and MinGW's zlib only.
#
#   tools/build_ffplay.sh          builds when needed, prints the path of ffplay.exe
#   tools/build_ffplay.sh --path   prints that path if the player is built, else fails
#
# It fetches the source packages from Debian, or, when they lie beside the script (the
# release's source archive unpacked), takes those.
# The result is cached in ${XDG_CACHE_HOME:-~/.cache}/duoscope/ffplay-KEY/, KEY being a
# hash of the source versions, the configure line, the tool chain and this script, so a
# second run (or another checkout on the same machine) does not build again. The folder
# holds ffplay.exe, the licence texts, BUILD-INFO.txt (versions, configure line) and
# source/ (the source packages as fetched and this script). It appears in one rename at
# the end: an interrupted build is never taken for a finished one.
#
# The output is reproducible: the build runs in a fixed folder under the cache, whose path
# the compiler maps away (-ffile-prefix-map), the linker writes no time stamp, and the
# binary is stripped (SOURCE_DATE_EPOCH, from FFmpeg's changelog, is the PE time stamp
# strip writes). Takes 12-25 minutes on two busy cores; the log is work/build.log in the
# cache while building (its tail is shown when a step fails), build.log beside the player.
set -euo pipefail

sdl_version=2.26.5+dfsg-1
ffmpeg_version=7:5.1.9-0+deb12u1
suite=bookworm
triplet=x86_64-w64-mingw32

# FFmpeg's configure line. Everything off, then what users play: the video and audio
# codecs, containers and stills listed here, the file protocol, and the filters the
# program's options and ffplay itself need (configure adds ffplay's own crop, transpose,
# flips and rotate). stereo3d is GPL in FFmpeg 5.1, hence --enable-gpl. NVIDIA's
# decoders (h264_cuvid, hevc_cuvid) need NVIDIA's libraries at run time and stay out.
configure_args=(
  --target-os=mingw32 --arch=x86_64 --cross-prefix=$triplet-
  --pkg-config=pkg-config --pkg-config-flags=--static
  --enable-static --disable-shared --extra-ldflags="-static -Wl,--no-insert-timestamp"
  --enable-gpl --disable-autodetect --enable-w32threads --enable-sdl2 --enable-zlib
  --disable-everything --disable-programs --enable-ffplay --disable-doc --disable-debug
  --enable-decoder=h264,hevc,mpeg1video,mpeg2video,mpeg4,msmpeg4v3,vp8,vp9,mjpeg,png
  --enable-decoder=aac,aac_latm,mp3,mp3float,mp2,mp2float,ac3,eac3,opus,vorbis,flac,'pcm*'
  --enable-demuxer=mov,matroska,avi,mpegts,mpegps,mpegvideo,h264,hevc,m4v,ivf
  --enable-demuxer=mp3,aac,ac3,eac3,flac,ogg,wav,image2,mjpeg,'image_*_pipe'
  --enable-parser=h264,hevc,mpegvideo,mpeg4video,vp8,vp9,mjpeg,png
  --enable-parser=aac,aac_latm,mpegaudio,ac3,opus,vorbis,flac
  --enable-protocol=file
  --enable-filter=stereo3d,scale,format,null,aformat,anull,aresample
)

cache=${XDG_CACHE_HOME:-$HOME/.cache}/duoscope
script=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
toolchain=$($triplet-gcc -dumpfullversion 2>/dev/null; $triplet-ld --version 2>/dev/null | head -1
  dpkg-query -W -f='${Version}' libz-mingw-w64-dev nasm 2>/dev/null)
key=$( {
  printf '%s\n' "$sdl_version" "$ffmpeg_version" "${configure_args[@]}" "$toolchain"
  cat "$script"
} | sha256sum | cut -c1-16)
out=$cache/ffplay-$key

if [ "${1:-}" = --path ]; then
  [ -f "$out/ffplay.exe" ] && echo "$out/ffplay.exe" && exit 0
  echo "build_ffplay: not built yet (run tools/build_ffplay.sh)" >&2
  exit 1
fi
mkdir -p "$cache"
# One build at a time per cache; a second caller waits and then finds the result.
exec 9>"$cache/ffplay.lock"
flock 9
if [ -f "$out/ffplay.exe" ]; then
  echo "$out/ffplay.exe"
  exit 0
fi

work=$cache/work
log=$work/build.log
rm -rf "$work" "$out.new"
mkdir -p "$work/bin" "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
: >"$log"
cp "$script" "$work/build_ffplay.sh" # (the script as it runs, for the source folder)
say() { echo "build_ffplay: $*" >&2; }
step() {
  say "$1"
  shift
  if ! nice "$@" >>"$log" 2>&1; then
    tail -n 40 "$log" >&2
    say "failed; the whole log is $log"
    exit 1
  fi
}
started=$SECONDS

# The sources, through a private apt state (the machine's apt sources stay untouched),
# from the Debian archives that the machine's apt uses.
apt_opts=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache")
mkdir -p "$work/source"
here=$(dirname "$script")
if [ -f "$here/libsdl2_${sdl_version#*:}.dsc" ] &&
  [ -f "$here/ffmpeg_${ffmpeg_version#*:}.dsc" ]; then
  say "taking the source packages beside the script"
  cp "$here"/*.dsc "$here"/*.tar.* "$work/source/"
else
  if ! archive=$("$here/debian_mirror.sh") || ! security=$("$here/debian_mirror.sh" security)
  then
    say "this machine's apt sources name no Debian archive (set DUOSCOPE_DEBIAN_MIRROR)"
    exit 1
  fi
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  cat >"$work/apt/sources.list" <<EOF
deb-src [signed-by=$keyring] $archive $suite main
deb-src [signed-by=$keyring] $archive $suite-updates main
deb-src [signed-by=$keyring] $security $suite-security main
EOF
  step "fetching the package lists of $suite" apt-get "${apt_opts[@]}" -q update
  for pin in "libsdl2=$sdl_version" "ffmpeg=$ffmpeg_version"; do
    served=$(apt-cache "${apt_opts[@]}" showsrc "${pin%%=*}" | sed -n 's/^Version: //p' | sort -u)
    if ! grep -Fqx "${pin#*=}" <<<"$served"; then
      say "Debian does not serve ${pin%%=*} ${pin#*=} (it serves: $(echo $served))"
      say "change the pinned version at the top of $script"
      exit 1
    fi
    (cd "$work/source" && step "fetching the source package $pin" \
      apt-get "${apt_opts[@]}" source --download-only "$pin")
  done
fi
for dsc in "$work"/source/*.dsc; do
  step "unpacking $(basename "$dsc")" dpkg-source --no-check -x "$dsc" "$work/$(basename "$dsc" .dsc)"
done
sdl_src=$(ls -d "$work"/libsdl2_*/)
ffmpeg_src=$(ls -d "$work"/ffmpeg_*/)
SOURCE_DATE_EPOCH=$(cd "$ffmpeg_src" && dpkg-parsechangelog -STimestamp)
export SOURCE_DATE_EPOCH

# The compilers, through wrappers that map the build folder away.
for tool in gcc g++; do
  printf '#!/bin/sh\nexec /usr/bin/%s-%s -ffile-prefix-map=%s=/build "$@"\n' \
    "$triplet" "$tool" "$work" >"$work/bin/$triplet-$tool"
  chmod +x "$work/bin/$triplet-$tool"
done
export PATH=$work/bin:$PATH

step "configuring SDL2" cmake -S "$sdl_src" -B "$work/sdl-build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=x86_64 \
  -DCMAKE_C_COMPILER="$work/bin/$triplet-gcc" -DCMAKE_CXX_COMPILER="$work/bin/$triplet-g++" \
  -DCMAKE_RC_COMPILER=$triplet-windres -DCMAKE_FIND_ROOT_PATH=/usr/$triplet \
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DCMAKE_INSTALL_PREFIX="$work/sdl"
step "building SDL2" cmake --build "$work/sdl-build" -j2
step "installing SDL2" cmake --install "$work/sdl-build"

mkdir -p "$work/ffmpeg-build"
cd "$work/ffmpeg-build"
export PKG_CONFIG_LIBDIR=$work/sdl/lib/pkgconfig
step "configuring FFmpeg" "$ffmpeg_src/configure" "${configure_args[@]}"
step "building FFmpeg" make -j2 ffplay.exe
step "stripping ffplay.exe" $triplet-strip -o "$work/ffplay.exe" ffplay.exe

# The folder that ships beside duoscope.exe (and its source), then the one rename.
mkdir -p "$out.new/source"
cp "$work/ffplay.exe" "$out.new/"
cp "$ffmpeg_src/COPYING.GPLv2" "$out.new/COPYING.GPLv2"
cp "$sdl_src/LICENSE.txt" "$out.new/LICENSE-SDL2.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$out.new/LICENSE-zlib.txt"
cp "$work"/source/*.dsc "$work"/source/*.tar.* "$out.new/source/"
cp "$work/build_ffplay.sh" "$out.new/source/build_ffplay.sh"
{
  echo "ffplay.exe, built by duoscope's tools/build_ffplay.sh from Debian $suite's source packages"
  echo "  libsdl2 $sdl_version"
  echo "  ffmpeg $ffmpeg_version"
  echo "  zlib from Debian's libz-mingw-w64-dev $(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)"
  echo "with $triplet-gcc $($triplet-gcc -dumpfullversion). FFmpeg's configure line:"
  printf '  configure'
  for arg in "${configure_args[@]}"; do
    case "$arg" in *[\ \*]*) printf " '%s'" "$arg" ;; *) printf ' %s' "$arg" ;; esac
  done
  echo
} >"$out.new/BUILD-INFO.txt"
cp "$log" "$out.new/build.log"
mv "$out.new" "$out"
rm -rf "$work"
say "built in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
echo "$out/ffplay.exe"
