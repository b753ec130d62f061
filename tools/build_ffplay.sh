#!/usr/bin/env bash
# Builds the Windows player shipped beside duoscope.exe: static ffplay.exe and ffprobe.exe
# (FFmpeg's stream reader, from the same configure line), cross-built with MinGW-w64 from
# Debian's source packages of SDL2, dav1d (AV1) and FFmpeg (the versions pinned below),
# with FFmpeg's own components, libdav1d and MinGW's zlib only.
#
#   tools/build_ffplay.sh [--arch x86_64|i686]
#                             builds when needed (x86_64 by default), prints the path of
#                             ffplay.exe; ffprobe.exe lies beside it
#   tools/build_ffplay.sh [--arch ...] --path
#                             prints that path if the player is built, else fails
#
# It fetches the source packages from Debian (tools/private_apt.sh), or, when they lie
# beside the script (the release's source archive unpacked), takes those.
# The result is cached in ${XDG_CACHE_HOME:-~/.cache}/duoscope/ffplay-ARCH-KEY/, KEY being
# a hash of the source versions, the configure line, the tool chain and this script, so a
# second run (or another checkout on the same machine) does not build again. The folder
# holds ffplay.exe, ffprobe.exe, the licence texts, BUILD-INFO.txt (versions, configure
# line) and source/ (the source packages as fetched and the scripts that build them). It
# appears in one rename at the end: an interrupted build is never taken for a finished one.
#
# The output is reproducible: the build runs in a fixed folder under the cache, whose path
# the compiler maps away (-ffile-prefix-map), the linker writes no time stamp, and the
# binaries are stripped (SOURCE_DATE_EPOCH, from FFmpeg's changelog, is the PE time stamp
# strip writes). Takes 15-30 minutes per machine type on two busy cores; the log is
# work-ARCH/build.log in the cache while building (its tail is shown when a step fails),
# build.log beside the player.
set -euo pipefail

arch=x86_64
path_only=
while [ $# -gt 0 ]; do
  case "$1" in
    --arch) arch=${2:-} && shift ;;
    --path) path_only=1 ;;
    *) echo "build_ffplay: unknown option [$1]" >&2 && exit 2 ;;
  esac
  shift
done
case "$arch" in
  x86_64) ffmpeg_arch=x86_64 meson_cpu=x86_64 ;;
  i686) ffmpeg_arch=x86 meson_cpu=x86 ;;
  *) echo "build_ffplay: --arch takes x86_64 or i686, not [$arch]" >&2 && exit 2 ;;
esac

sdl_version=2.32.4+dfsg-1
dav1d_version=1.5.1-1
ffmpeg_version=7:7.1.5-0+deb13u1
suite=trixie
triplet=$arch-w64-mingw32

# FFmpeg's configure line: the target, then everything off and what users play: the
# video, audio and subtitle decoders (pictures and text), containers and stills listed
# here, the file protocol, and the filters the program's options, ffplay itself and the
# stereo layouts need (configure adds ffplay's own transpose, flips and rotate). The lavfi
# input with the movie source lets ffprobe read a file's pictures through a filter graph:
# FFmpeg 7's lavfi input hands over whole frames (wrapped_avframe, whose packets hold no
# pixels), so ffprobe decodes them, and untile with signalstats turns a small grey
# thumbnail into one-pixel frames whose YAVG tag is the pixel. stereo3d is GPL, hence
# --enable-gpl. No encoders, muxers or network protocols. NVIDIA's decoders (h264_cuvid,
# hevc_cuvid) need NVIDIA's libraries at run time and stay out.
target_args=(--target-os=mingw32 --arch=$ffmpeg_arch --cross-prefix=$triplet-)
configure_args=(
  --pkg-config=pkg-config --pkg-config-flags=--static
  --enable-static --disable-shared --extra-ldflags="-static -Wl,--no-insert-timestamp"
  --enable-gpl --disable-autodetect --enable-w32threads --enable-sdl2 --enable-zlib
  --enable-libdav1d
  --disable-everything --disable-programs --enable-ffplay --enable-ffprobe --disable-doc
  --disable-debug
  --enable-decoder=h264,hevc,mpeg1video,mpeg2video,mpeg4,msmpeg4v1,msmpeg4v2,msmpeg4v3
  --enable-decoder=vc1,vc1image,wmv1,wmv2,wmv3,wmv3image,vp8,vp9,libdav1d,prores,theora
  --enable-decoder=mjpeg,png,gif,bmp
  --enable-decoder=aac,aac_latm,ac3,eac3,dca,truehd,mlp,flac,opus,vorbis,mp1,mp1float
  --enable-decoder=mp2,mp2float,mp3,mp3float,wmav1,wmav2,'pcm*',pgssub,dvdsub
  --enable-decoder=subrip,srt,ass,ssa,webvtt,movtext,text,wrapped_avframe
  --enable-demuxer=matroska,mov,mpegts,mpegps,mpegvideo,avi,asf,ogg,flv,h264,hevc,m4v
  --enable-demuxer=ivf,vc1,mp3,aac,ac3,eac3,dts,dtshd,truehd,mlp,flac,wav,image2,mjpeg
  --enable-demuxer='image_*_pipe',gif,srt,ass,webvtt
  --enable-parser=h264,hevc,mpegvideo,mpeg4video,vc1,vp8,vp9,av1,mjpeg,png,gif,bmp,aac
  --enable-parser=aac_latm,mpegaudio,ac3,dca,mlp,flac,opus,vorbis,dvdsub
  --enable-protocol=file
  --enable-avdevice --enable-indev=lavfi
  --enable-filter=stereo3d,scale,format,null,aformat,anull,aresample,tile,hstack,vstack
  --enable-filter=select,split,setsar,movie,crop,pad,trim,setpts,concat,fps,untile
  --enable-filter=signalstats
)

cache=${XDG_CACHE_HOME:-$HOME/.cache}/duoscope
script=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
here=$(dirname "$script")
helpers=("$here/private_apt.sh" "$here/debian_mirror.sh") # (copied into source/)
toolchain=$($triplet-gcc -dumpfullversion 2>/dev/null; $triplet-ld --version 2>/dev/null | head -1
  dpkg-query -W -f='${Version}' libz-mingw-w64-dev nasm meson ninja-build 2>/dev/null)
key=$( {
  printf '%s\n' "$sdl_version" "$dav1d_version" "$ffmpeg_version" "${target_args[@]}" \
    "${configure_args[@]}" "$toolchain"
  cat "$script"
} | sha256sum | cut -c1-16)
out=$cache/ffplay-$arch-$key

if [ -n "$path_only" ]; then
  [ -f "$out/ffplay.exe" ] && echo "$out/ffplay.exe" && exit 0
  echo "build_ffplay: not built yet for $arch (run tools/build_ffplay.sh --arch $arch)" >&2
  exit 1
fi
mkdir -p "$cache"
# One build at a time per cache and machine type; a second caller waits and then finds
# the result.
exec 9>"$cache/ffplay-$arch.lock"
flock 9
if [ -f "$out/ffplay.exe" ]; then
  echo "$out/ffplay.exe"
  exit 0
fi

work=$cache/work-$arch
log=$work/build.log
rm -rf "$work" "$out.new"
mkdir -p "$work/bin" "$work/source"
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

pins=("libsdl2=$sdl_version" "dav1d=$dav1d_version" "ffmpeg=$ffmpeg_version")
beside=1
for pin in "${pins[@]}"; do
  version=${pin#*=}
  [ -f "$here/${pin%%=*}_${version#*:}.dsc" ] || beside=
done
if [ -n "$beside" ]; then
  say "taking the source packages beside the script"
  cp "$here"/*.dsc "$here"/*.tar.* "$work/source/"
else
  # (A private apt state: the machine's apt sources stay untouched.)
  apt=("$here/private_apt.sh" "$work/apt")
  step "fetching the package lists of $suite" "${apt[@]}" --sources "deb-src $suite" \
    "deb-src $suite-updates" "deb-src $suite-security"
  for pin in "${pins[@]}"; do
    served=$("${apt[@]}" --served "${pin%%=*}")
    if ! grep -Fqx "${pin#*=}" <<<"$served"; then
      say "Debian does not serve ${pin%%=*} ${pin#*=} (it serves: $(echo $served))"
      say "change the pinned version at the top of $script"
      exit 1
    fi
    (cd "$work/source" && step "fetching the source package $pin" \
      "${apt[@]}" apt-get source --download-only "$pin")
  done
fi
for dsc in "$work"/source/*.dsc; do
  step "unpacking $(basename "$dsc")" dpkg-source --no-check -x "$dsc" \
    "$work/$(basename "$dsc" .dsc)"
done
sdl_src=$(ls -d "$work"/libsdl2_*/)
dav1d_src=$(ls -d "$work"/dav1d_*/)
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
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=$arch \
  -DCMAKE_C_COMPILER="$work/bin/$triplet-gcc" -DCMAKE_CXX_COMPILER="$work/bin/$triplet-g++" \
  -DCMAKE_RC_COMPILER=$triplet-windres -DCMAKE_FIND_ROOT_PATH=/usr/$triplet \
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DCMAKE_INSTALL_PREFIX="$work/sdl"
step "building SDL2" cmake --build "$work/sdl-build" -j2
step "installing SDL2" cmake --install "$work/sdl-build"

# dav1d through meson, with a cross file for this machine type.
printf '%s\n' "[binaries]" "c = '$work/bin/$triplet-gcc'" "ar = '$triplet-ar'" \
  "strip = '$triplet-strip'" "windres = '$triplet-windres'" "nasm = 'nasm'" \
  "[host_machine]" "system = 'windows'" "cpu_family = '$meson_cpu'" "cpu = '$arch'" \
  "endian = 'little'" >"$work/meson-cross.txt"
step "configuring dav1d" meson setup "$work/dav1d-build" "$dav1d_src" \
  --cross-file "$work/meson-cross.txt" --default-library=static --buildtype=release \
  -Denable_tools=false -Denable_tests=false --prefix="$work/dav1d" --libdir=lib
step "building dav1d" ninja -C "$work/dav1d-build" -j2 install

mkdir -p "$work/ffmpeg-build"
cd "$work/ffmpeg-build"
export PKG_CONFIG_LIBDIR=$work/sdl/lib/pkgconfig:$work/dav1d/lib/pkgconfig
step "configuring FFmpeg" "$ffmpeg_src/configure" "${target_args[@]}" "${configure_args[@]}"
step "building FFmpeg" make -j2 ffplay.exe ffprobe.exe
for exe in ffplay.exe ffprobe.exe; do
  step "stripping $exe" $triplet-strip -o "$work/$exe" $exe
done

# The folder that ships beside duoscope.exe (and its source), then the one rename.
mkdir -p "$out.new/source"
cp "$work/ffplay.exe" "$work/ffprobe.exe" "$out.new/"
cp "$ffmpeg_src/COPYING.GPLv2" "$out.new/COPYING.GPLv2"
cp "$sdl_src/LICENSE.txt" "$out.new/LICENSE-SDL2.txt"
cp "$dav1d_src/COPYING" "$out.new/LICENSE-dav1d.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$out.new/LICENSE-zlib.txt"
cp "$work"/source/*.dsc "$work"/source/*.tar.* "${helpers[@]}" "$out.new/source/"
cp "$work/build_ffplay.sh" "$out.new/source/build_ffplay.sh"
{
  echo "ffplay.exe and ffprobe.exe, built by duoscope's tools/build_ffplay.sh --arch $arch"
  echo "from Debian $suite's source packages"
  for pin in "${pins[@]}"; do echo "  ${pin/=/ }"; done
  echo "  zlib from Debian's libz-mingw-w64-dev" \
    "$(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)"
  echo "with $triplet-gcc $($triplet-gcc -dumpfullversion). FFmpeg's configure line:"
  printf '  configure'
  for arg in "${target_args[@]}" "${configure_args[@]}"; do
    case "$arg" in *[\ \*]*) printf " '%s'" "$arg" ;; *) printf ' %s' "$arg" ;; esac
  done
  echo
} >"$out.new/BUILD-INFO.txt"
cp "$log" "$out.new/build.log"
mv "$out.new" "$out"
rm -rf "$work"
say "built for $arch in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
echo "$out/ffplay.exe"
