#!/usr/bin/env bash
# Builds the Windows player shipped beside duoscope.exe: static ffplay.exe and ffprobe.exe
# (FFmpeg's stream reader, from the same configure line), cross-built with MinGW-w64 from
# Debian's source packages of SDL2, dav1d (AV1), FreeType, FriBidi, HarfBuzz, libass (text
# subtitles) and FFmpeg (the versions pinned below), with FFmpeg's own components, those
# libraries and MinGW's zlib only, and a free fallback font for the subtitles.
#
#   tools/build_ffplay.sh [--arch x86_64|i686]
#                             builds when needed (x86_64 by default), prints the path of
#                             ffplay.exe; ffprobe.exe lies beside it
#   tools/build_ffplay.sh [--arch ...] --path
#                             prints that path if the player is built, else fails
#
# It fetches the source packages from Debian (tools/private_apt.sh), or, when they lie
# beside the script (the release's source archive unpacked), takes those. Where Debian's
# archive does not serve a package's files (libass and FriBidi on some mirrors), it takes
# the upstream tarball of the same version, pinned below by its sha256, from the folder
# named by DUOSCOPE_SOURCES (or from beside the script), refuses any other file, and stops
# saying which file to put where when it finds none.
# The result is cached in ${XDG_CACHE_HOME:-~/.cache}/duoscope/ffplay-ARCH-KEY/, KEY being
# a hash of the source versions, the configure line, the tool chain and this script, so a
# second run (or another checkout on the same machine) does not build again. The folder
# holds ffplay.exe, ffprobe.exe, the licence texts, fonts/ (DejaVu Sans, for the subtitles
# filter's fontsdir), BUILD-INFO.txt (each library's version and source, the configure
# line) and source/ (the sources as fetched and the scripts that build them). It appears
# in one rename at the end: an interrupted build is never taken for a finished one.
#
# The output is reproducible: the build runs in a fixed folder under the cache, whose path
# the compiler maps away (-ffile-prefix-map, for every library), the linker writes no time
# stamp, and the binaries are stripped (SOURCE_DATE_EPOCH, from FFmpeg's changelog, is the
# PE time stamp strip writes). Takes half an hour or more per machine type on two busy
# cores (FFmpeg and HarfBuzz the most); the log is work-ARCH/build.log in the cache while
# building (its tail is shown when a step fails), build.log beside the player.
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
freetype_version=2.13.3+dfsg-1+deb13u1
fribidi_version=1.0.16-1
harfbuzz_version=10.2.0-1+deb13u1
libass_version=1:0.17.3-1+deb13u1
ffmpeg_version=7:7.1.5-0+deb13u1
suite=trixie
triplet=$arch-w64-mingw32
# The upstream tarballs of the same versions, for mirrors that list libass and FriBidi but
# answer 404 for their files, and their sha256 (a file of that name with any other sum is
# refused). Both are git trees of the upstream tags that build with meson.
declare -A upstream=([fribidi]=fribidi-1.0.16.tar.xz [libass]=libass-0.17.3.tar.xz)
declare -A upstream_sha256=(
  [fribidi]=20bda46492f2f5cb342ac53574b0deaf5f4348935dca6954157ede306bf83ee7
  [libass]=e7364d17c6c6f1db6beca48c59c91da0a81fc58f8cc77555baef5286db7a0a24
)
# The font that text subtitles can always be drawn with: libass finds a font the subtitles
# name only on the system (Wine has no Arial) or in the filter's fontsdir, and falls back
# to no other, so the player ships DejaVu Sans (from Debian's fonts-dejavu-core, which
# tools/setup.sh installs) in fonts/, for fontsdir with force_style=FontName=DejaVu Sans.
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

# FFmpeg's configure line: the target, then everything off and what users play: the
# video, audio and subtitle decoders (pictures and text), containers and stills listed
# here, the file protocol, and the filters the program's options, ffplay itself and the
# stereo layouts need (configure adds ffplay's own transpose, flips and rotate). The lavfi
# input with the movie source lets ffprobe read a file's pictures through a filter graph:
# FFmpeg 7's lavfi input hands over whole frames (wrapped_avframe, whose packets hold no
# pixels), so ffprobe decodes them, and untile with signalstats turns a small grey
# thumbnail into one-pixel frames whose YAVG tag is the pixel. stereo3d is GPL, hence
# --enable-gpl. No encoders, muxers or network protocols. NVIDIA's decoders (h264_cuvid,
# hevc_cuvid) need NVIDIA's libraries at run time and stay out. libass draws text
# subtitles into the picture (the subtitles and ass filters); v360 projects VR films,
# mergeplanes, extractplanes, overlay and the color source compose pictures, showinfo and
# metadata report on frames.
target_args=(--target-os=mingw32 --arch=$ffmpeg_arch --cross-prefix=$triplet-)
configure_args=(
  --pkg-config=pkg-config --pkg-config-flags=--static
  --enable-static --disable-shared --extra-ldflags="-static -Wl,--no-insert-timestamp"
  --enable-gpl --disable-autodetect --enable-w32threads --enable-sdl2 --enable-zlib
  --enable-libdav1d --enable-libass
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
  --enable-filter=signalstats,subtitles,ass,v360,mergeplanes,extractplanes,overlay,color
  --enable-filter=showinfo,metadata
)

cache=${XDG_CACHE_HOME:-$HOME/.cache}/duoscope
script=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
here=$(dirname "$script")
helpers=("$here/private_apt.sh" "$here/debian_mirror.sh") # (copied into source/)
toolchain=$($triplet-gcc -dumpfullversion 2>/dev/null; $triplet-ld --version 2>/dev/null | head -1
  dpkg-query -W -f='${Version}\n' libz-mingw-w64-dev nasm meson ninja-build \
    fonts-dejavu-core 2>/dev/null)
key=$( {
  printf '%s\n' "$sdl_version" "$dav1d_version" "$freetype_version" "$fribidi_version" \
    "$harfbuzz_version" "$libass_version" "$ffmpeg_version" \
    "${target_args[@]}" "${configure_args[@]}" "$toolchain"
  cat "$script"
} | sha256sum | cut -c1-16)
out=$cache/ffplay-$arch-$key

# (Taken before any change of folder: a relative DUOSCOPE_SOURCES is the caller's.)
sources=${DUOSCOPE_SOURCES:+$(realpath -m -- "$DUOSCOPE_SOURCES")}

if [ -n "$path_only" ]; then
  [ -f "$out/ffplay.exe" ] && echo "$out/ffplay.exe" && exit 0
  echo "build_ffplay: not built yet for $arch (run tools/build_ffplay.sh --arch $arch)" >&2
  exit 1
fi
if [ ! -f "$font" ]; then
  echo "build_ffplay: no $font: install Debian's fonts-dejavu-core (tools/setup.sh does)" >&2
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

# The sources: each pinned package as Debian's source package (its .dsc and the files it
# names) or, where Debian's archive does not serve it, as its pinned upstream tarball; all
# beside the script (the release's source archive unpacked) or else fetched.
pins=("libsdl2=$sdl_version" "dav1d=$dav1d_version" "freetype=$freetype_version"
  "fribidi=$fribidi_version" "harfbuzz=$harfbuzz_version" "libass=$libass_version"
  "ffmpeg=$ffmpeg_version")
dsc_of() { local version=${1#*=}; echo "${1%%=*}_${version#*:}.dsc"; }
# Copies the upstream tarball of package $1 from folder $2 into source/: fails when the
# folder has none, stops when its file is not the pinned one.
take_tarball() {
  local file=$2/${upstream[$1]} found
  [ -f "$file" ] || return 1
  found=$(sha256sum <"$file" | cut -c1-64)
  if [ "$found" != "${upstream_sha256[$1]}" ]; then
    say "refusing $file: its sha256 is $found, not the pinned ${upstream_sha256[$1]}"
    exit 1
  fi
  cp "$file" "$work/source/"
}
beside=1
for pin in "${pins[@]}"; do
  name=${pin%%=*}
  [ -f "$here/$(dsc_of "$pin")" ] ||
    { [ -n "${upstream[$name]:-}" ] && [ -f "$here/${upstream[$name]}" ]; } || beside=
done
if [ -n "$beside" ]; then
  say "taking the sources beside the script"
  for pin in "${pins[@]}"; do
    dsc=$here/$(dsc_of "$pin")
    if [ -f "$dsc" ]; then
      cp "$dsc" $(sed -n "/^Files:/,/^[^ ]/s|^ [0-9a-f]* [0-9]* |$here/|p" "$dsc") \
        "$work/source/"
    else
      take_tarball "${pin%%=*}" "$here"
    fi
  done
else
  # (A private apt state: the machine's apt sources stay untouched.)
  apt=("$here/private_apt.sh" "$work/apt")
  step "fetching the package lists of $suite" "${apt[@]}" --sources "deb-src $suite" \
    "deb-src $suite-updates" "deb-src $suite-security"
  missing=()
  for pin in "${pins[@]}"; do
    name=${pin%%=*}
    served=$("${apt[@]}" --served "$name")
    listed=
    ! grep -Fqx "${pin#*=}" <<<"$served" || listed=1
    rm -rf "$work/fetch" && mkdir "$work/fetch"
    if [ -n "$listed" ] && say "fetching the source package $pin" &&
      (cd "$work/fetch" && nice "${apt[@]}" apt-get source --download-only "$pin") \
        >>"$log" 2>&1; then
      mv "$work/fetch"/* "$work/source/"
    elif [ -n "${upstream[$name]:-}" ]; then
      say "Debian's archive does not serve $pin: its upstream tarball instead"
      [ -n "$sources" ] && take_tarball "$name" "$sources" || missing+=("$name")
    elif [ -n "$listed" ]; then
      tail -n 20 "$log" >&2
      say "fetching $pin failed; the whole log is $log"
      exit 1
    else
      say "Debian does not serve $name ${pin#*=} (it serves: $(echo $served))"
      say "change the pinned version at the top of $script"
      exit 1
    fi
  done
  rm -rf "$work/fetch"
  if [ ${#missing[@]} -ne 0 ]; then
    files=
    for name in "${missing[@]}"; do
      files+="${files:+ and }${upstream[$name]} (sha256 ${upstream_sha256[$name]})"
    done
    say "no source of ${missing[*]}: put $files, the upstream release of the pinned" \
      "version, into the folder that DUOSCOPE_SOURCES names (${sources:-not set}), then" \
      "run again"
    exit 1
  fi
fi
for dsc in "$work"/source/*.dsc; do
  step "unpacking $(basename "$dsc")" dpkg-source --no-check -x "$dsc" \
    "$work/$(basename "$dsc" .dsc)"
done
for name in "${!upstream[@]}"; do
  file=$work/source/${upstream[$name]}
  [ ! -f "$file" ] || step "unpacking $(basename "$file")" tar -xf "$file" -C "$work"
done
# The unpacked tree of a package: NAME_VERSION (Debian's) or NAME-VERSION (upstream).
tree_of() { ls -d "$work/$1"[_-][0-9]*/; }
sdl_src=$(tree_of libsdl2)
dav1d_src=$(tree_of dav1d)
ffmpeg_src=$(tree_of ffmpeg)
SOURCE_DATE_EPOCH=$(cd "$ffmpeg_src" && dpkg-parsechangelog -STimestamp)
export SOURCE_DATE_EPOCH

# The compilers, through wrappers that map the build folder away.
for tool in gcc g++; do
  printf '#!/bin/sh\nexec /usr/bin/%s-%s -ffile-prefix-map=%s=/build "$@"\n' \
    "$triplet" "$tool" "$work" >"$work/bin/$triplet-$tool"
  chmod +x "$work/bin/$triplet-$tool"
done
export PATH=$work/bin:$PATH
# (libass names its git commit when its tree lies in one: none above the build folder.)
export GIT_CEILING_DIRECTORIES=$work

step "configuring SDL2" cmake -S "$sdl_src" -B "$work/sdl-build" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=$arch \
  -DCMAKE_C_COMPILER="$work/bin/$triplet-gcc" -DCMAKE_CXX_COMPILER="$work/bin/$triplet-g++" \
  -DCMAKE_RC_COMPILER=$triplet-windres -DCMAKE_FIND_ROOT_PATH=/usr/$triplet \
  -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY \
  -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DCMAKE_INSTALL_PREFIX="$work/sdl"
step "building SDL2" cmake --build "$work/sdl-build" -j2
step "installing SDL2" cmake --install "$work/sdl-build"

# dav1d and the subtitle libraries through meson, with a cross file for this machine type
# (meson 1.0 names pkg-config "pkgconfig"; the libraries find each other in $work/ass).
printf '%s\n' "[binaries]" "c = '$work/bin/$triplet-gcc'" "cpp = '$work/bin/$triplet-g++'" \
  "ar = '$triplet-ar'" "strip = '$triplet-strip'" "windres = '$triplet-windres'" \
  "nasm = 'nasm'" "pkgconfig = 'pkg-config'" \
  "[properties]" "pkg_config_libdir = '$work/ass/lib/pkgconfig'" \
  "[host_machine]" "system = 'windows'" "cpu_family = '$meson_cpu'" "cpu = '$arch'" \
  "endian = 'little'" >"$work/meson-cross.txt"
step "configuring dav1d" meson setup "$work/dav1d-build" "$dav1d_src" \
  --cross-file "$work/meson-cross.txt" --default-library=static --buildtype=release \
  -Denable_tools=false -Denable_tests=false --prefix="$work/dav1d" --libdir=lib
step "building dav1d" ninja -C "$work/dav1d-build" -j2 install
# FreeType, FriBidi, HarfBuzz, then libass on them: static, no downloads of meson's own,
# no optional library beyond these (libass finds fonts through DirectWrite or GDI,
# Windows' own, and in the fontsdir it is given).
meson_library() {
  local name=$1
  shift
  step "configuring $name" meson setup "$work/$name-build" "$(tree_of "$name")" \
    --cross-file "$work/meson-cross.txt" --default-library=static --buildtype=release \
    --wrap-mode=nodownload --prefix="$work/ass" --libdir=lib "$@"
  step "building $name" ninja -C "$work/$name-build" -j2 install
}
meson_library freetype -Dbrotli=disabled -Dbzip2=disabled -Dharfbuzz=disabled \
  -Dpng=disabled -Dzlib=disabled -Dtests=disabled
meson_library fribidi -Ddocs=false -Dbin=false -Dtests=false
meson_library harfbuzz -Dglib=disabled -Dgobject=disabled -Dcairo=disabled -Dchafa=disabled \
  -Dicu=disabled -Dfreetype=disabled -Dtests=disabled -Dintrospection=disabled \
  -Ddocs=disabled -Dutilities=disabled -Dbenchmark=disabled
meson_library libass -Dfontconfig=disabled -Ddirectwrite=enabled -Dcoretext=disabled \
  -Dlibunibreak=disabled

mkdir -p "$work/ffmpeg-build"
cd "$work/ffmpeg-build"
PKG_CONFIG_LIBDIR=$work/sdl/lib/pkgconfig:$work/dav1d/lib/pkgconfig:$work/ass/lib/pkgconfig
export PKG_CONFIG_LIBDIR
step "configuring FFmpeg" "$ffmpeg_src/configure" "${target_args[@]}" "${configure_args[@]}"
step "building FFmpeg" make -j2 ffplay.exe ffprobe.exe
for exe in ffplay.exe ffprobe.exe; do
  step "stripping $exe" $triplet-strip -o "$work/$exe" $exe
done

# The folder that ships beside duoscope.exe (and its source), then the one rename.
mkdir -p "$out.new/source" "$out.new/fonts"
cp "$work/ffplay.exe" "$work/ffprobe.exe" "$out.new/"
cp "$ffmpeg_src/COPYING.GPLv2" "$out.new/COPYING.GPLv2"
cp "$sdl_src/LICENSE.txt" "$out.new/LICENSE-SDL2.txt"
cp "$dav1d_src/COPYING" "$out.new/LICENSE-dav1d.txt"
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$out.new/LICENSE-zlib.txt"
cp "$(tree_of libass)COPYING" "$out.new/LICENSE-libass.txt"
cp "$(tree_of fribidi)COPYING" "$out.new/LICENSE-FriBidi.txt"
cp "$(tree_of freetype)LICENSE.TXT" "$out.new/LICENSE-FreeType.txt"
cp "$(tree_of freetype)docs/FTL.TXT" "$out.new/LICENSE-FreeType-FTL.txt"
cp "$(tree_of harfbuzz)COPYING" "$out.new/LICENSE-HarfBuzz.txt"
cp "$font" "$out.new/fonts/"
cp /usr/share/doc/fonts-dejavu-core/copyright "$out.new/LICENSE-DejaVu.txt"
cp "$work"/source/* "${helpers[@]}" "$out.new/source/"
cp "$work/build_ffplay.sh" "$out.new/source/build_ffplay.sh"
{
  echo "ffplay.exe and ffprobe.exe, built by duoscope's tools/build_ffplay.sh --arch $arch"
  echo "from Debian $suite's source packages"
  for pin in "${pins[@]}"; do
    [ ! -f "$work/source/$(dsc_of "$pin")" ] || echo "  ${pin/=/ }"
  done
  heading="from upstream tarballs of the pinned versions (Debian's archive served no files)"
  for pin in "${pins[@]}"; do
    [ ! -f "$work/source/$(dsc_of "$pin")" ] || continue
    version=${pin#*=} && version=${version#*:}
    name=${pin%%=*}
    echo "${heading:+$heading$'\n'}  $name ${version%-*} upstream ${upstream[$name]}" \
      "sha256 ${upstream_sha256[$name]}"
    heading=
  done
  echo "from Debian's binary packages"
  echo "  zlib from libz-mingw-w64-dev $(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)"
  echo "  fonts/$(basename "$font") (DejaVu Sans) from fonts-dejavu-core" \
    "$(dpkg-query -W -f='${Version}' fonts-dejavu-core)"
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
