#!/usr/bin/env bash
# Packs the Windows release archive of a build folder and checks it as a user receives it:
#   check_package.sh BUILD SOURCE PRESET VERSION OBJDUMP WINDRES MAX_BYTES [PLAYER]
# It holds exactly duoscope.exe (the build's program, byte for byte) and README-PRESET.txt
# (version filled in, CR LF line ends); with PLAYER also that ffplay.exe and the ffprobe.exe
# beside it, byte for byte, programs for the preset's machine, their licence texts (each
# the licence it names), the subtitles' fallback font and BUILD-INFO.txt, beside a source
# archive with the scripts that build them (run bits kept), the source packages and the
# upstream tarballs (with their sha256) that BUILD-INFO.txt names for each library. The
# program, read back from the archive, is a GUI
# program for the preset's machine, imports only Windows' own DLLs, stays under MAX_BYTES,
# and carries the version resource and the manifest. A clean build folder of the preset
# elsewhere, packed later, gives the same archive, byte for byte.
# (No -e: a failed check is counted, and the checks go on.)
set -u
# binutils word their reports in the user's language; the checks read the English words.
export LC_ALL=C
build=$1 source=$2 preset=$3 version=$4 objdump=$5 windres=$6 max_bytes=$7 player=${8-}
. "$source/tools/lib.sh" # (SETTINGS_KEY_LONG)
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect() { grep -qF -- "$2" <<<"$3" || fail "$1 lacks: $2"; }

package=duoscope-$version-$preset.zip
readme=README-$preset.txt
sources=$build/duoscope-$version-ffplay-source.zip
rm -f "$build/$package" "$sources" # (packed anew, with the time of this commit)
cmake --build "$build" --target package >/dev/null || { echo "FAIL: no package"; exit 1; }
echo "$package: $(stat -c %s "$build/$package") bytes, sha256 $(sha256sum <"$build/$package")"
entries=$(unzip -Z1 "$build/$package" | tr '\n' ' ')
expected="duoscope.exe $readme "
players="ffplay.exe ffprobe.exe"
# Each licence text with a line of the licence it must be.
licences=("COPYING.GPLv2:GNU GENERAL PUBLIC LICENSE" "LICENSE-SDL2.txt:Sam Lantinga"
  "LICENSE-dav1d.txt:VideoLAN and dav1d authors" "LICENSE-zlib.txt:Jean-loup Gailly"
  "LICENSE-libass.txt:ISC License"
  "LICENSE-FriBidi.txt:GNU LESSER GENERAL PUBLIC LICENSE"
  "LICENSE-FreeType.txt:FREETYPE LICENSES"
  "LICENSE-FreeType-FTL.txt:The FreeType Project LICENSE"
  "LICENSE-HarfBuzz.txt:HarfBuzz is licensed" "LICENSE-DejaVu.txt:Bitstream Vera")
font=fonts/DejaVuSans.ttf
[ -z "$player" ] || expected+="$players ${licences[*]%%:*} BUILD-INFO.txt $font "
[ "$entries" = "$expected" ] || fail "the archive holds [$entries]"
unpacked=$build/package-check
rm -rf "$unpacked" && unzip -q -d "$unpacked" "$build/$package" || exit 1
exe=$unpacked/duoscope.exe
cmp "$exe" "$build/duoscope.exe" || fail "the archive's duoscope.exe is not the built one"
declare -A machine=([win32]=pei-i386 [win64]=pei-x86-64) arch=([win32]=i686 [win64]=x86_64)
if [ -n "$player" ]; then
  for name in $players; do
    cmp "$unpacked/$name" "$(dirname "$player")/$name" ||
      fail "the archive's $name is not the cached build"
    expect "$name" "file format ${machine[$preset]}" "$("$objdump" -f "$unpacked/$name")"
  done
  for licence in "${licences[@]}"; do
    grep -qF "${licence#*:}" "$unpacked/${licence%%:*}" ||
      fail "${licence%%:*} is not the licence it names: no line with ${licence#*:}"
  done
  cmp "$unpacked/$font" "$(dirname "$player")/$font" || fail "$font is not the cached one"
  info=$(cat "$unpacked/BUILD-INFO.txt")
  expect BUILD-INFO.txt "--arch ${arch[$preset]}" "$info"
  for script in build_ffplay.sh private_apt.sh debian_mirror.sh; do
    cmp <(unzip -p "$sources" "$script") "$source/tools/$script" ||
      fail "$sources lacks this tree's tools/$script"
    # (Run bits kept: a rebuild from the unzipped archive runs private_apt.sh.)
    zipinfo "$sources" "$script" | grep -q '^-rwxr-xr-x ' ||
      fail "$script lost its run bit in $sources: $(zipinfo "$sources" "$script")"
  done
  # Each source package that BUILD-INFO.txt names ("  NAME [EPOCH:]VERSION"), as its .dsc.
  pins=$(sed -n 's/^  \([a-z0-9][a-z0-9.+-]*\) \([0-9]*:\)\{0,1\}\([0-9][^ ]*\)$/\1_\3/p' \
    <<<"$info")
  # Each upstream tarball it names ("  NAME VERSION upstream FILE sha256 SUM"), that file.
  tarballs=$(sed -n \
    's/^  \([a-z0-9]*\) [0-9][^ ]* upstream \([^ ]*\) sha256 \([0-9a-f]*\)$/\1 \2 \3/p' <<<"$info")
  for name in libsdl2 dav1d freetype fribidi harfbuzz libass ffmpeg; do
    grep -q "^${name}_" <<<"$pins" || grep -q "^$name " <<<"$tarballs" ||
      fail "BUILD-INFO.txt names no source of $name: [$pins] [$tarballs]"
  done
  for pinned in $pins; do
    unzip -Z1 "$sources" | grep -qxF "$pinned.dsc" || fail "$sources lacks $pinned.dsc"
  done
  while read -r name file sum; do
    [ -n "$name" ] || continue
    [ "$(unzip -p "$sources" "$file" | sha256sum | cut -c1-64)" = "$sum" ] ||
      fail "$sources lacks $file with sha256 $sum (the source of $name)"
  done <<<"$tarballs"
fi

text=$(cat "$unpacked/$readme")
for needed in "duoscope $version" "beside duoscope.exe" ffplay.exe "Error check mode" \
  "$SETTINGS_KEY_LONG" ${player:+COPYING.GPLv2 "$(basename "$sources")"}; do
  expect "$readme" "$needed" "$text"
done
! grep -q '@[A-Z_]*@' <<<"$text" || fail "$readme has a placeholder left"
[ "$(grep -c $'\r$' "$unpacked/$readme")" = "$(wc -l <"$unpacked/$readme")" ] ||
  fail "$readme has a line that does not end in CR LF"

headers=$("$objdump" -p "$exe")
expect "$exe" "file format ${machine[$preset]}" "$headers"
expect "$exe" "(Windows GUI)" "$headers"
cmake -DOBJDUMP="$objdump" -DPROGRAM="$exe" -DMAX_BYTES="$max_bytes" \
  -P "$source/cmake/CheckProgramImports.cmake" || fail "imports or size"

# The resources as windres reads them back from the program.
resources=$("$windres" -i "$exe" -O rc) || fail "windres cannot read $exe"
IFS=. read -r major minor patch <<<"$version"
for needed in "FILEVERSION $major, $minor, ${patch:-0}, 0" \
  "PRODUCTVERSION $major, $minor, ${patch:-0}, 0" "VALUE \"FileVersion\", \"$version\"" \
  "VALUE \"ProductVersion\", \"$version\"" 'VALUE "ProductName", "duoscope"' \
  'VALUE "OriginalFilename", "duoscope.exe"' "CONTROL \"duoscope Version $version\""; do
  expect "version resource" "$needed" "$resources"
done
grep -qE 'VALUE "FileDescription", "[^"]{10,}"' <<<"$resources" || fail "no FileDescription"
copyright=$(sed -n 's/.*VALUE "LegalCopyright", "\(.*\)"/\1/p' <<<"$resources")
expect "About box" "CONTROL \"${copyright:-no LegalCopyright}\"" "$resources"
manifest=$(sed -n '/^1 24 /,/^END/s/^  "\(.*\)\\n"$/\1/p' <<<"$resources" | sed 's/""/"/g')
cmp <(printf '%s\n' "$manifest") "$source/res/duoscope.manifest" ||
  fail "the program's manifest (resource 1 of type 24) is not res/duoscope.manifest"
manifest=$(tr -s ' \n' ' ' <<<"$manifest")
for needed in 'level="asInvoker"' '{e2011457-1546-43c5-a5fe-008deee3d3f0}' \
  '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}' '>false</dpiAware>' \
  'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'; do
  expect manifest "$needed" "$manifest"
done
[ "$(grep -o '<supportedOS ' <<<"$manifest" | wc -l)" = 5 ] || fail "not 5 supportedOS"

# Reproducible: a clean build folder elsewhere, as tools/release.sh makes one.
again=$build/reproduce
rm -rf "$again"
start=$SECONDS
{ (cd "$source" && cmake --preset "$preset" -B "$again" ${player:+-DDUOSCOPE_FFPLAY="$player"}) &&
  cmake --build "$again" --target package -j 2; } >"$build/reproduce.log" 2>&1 ||
  fail "the clean build in $again failed, see $build/reproduce.log"
echo "clean build and pack in $again: $((SECONDS - start)) s"
cmp "$build/$package" "$again/$package" || fail "$again packs other bytes"
[ -z "$player" ] || cmp "$sources" "$again/$(basename "$sources")" || fail "other source bytes"
[ "$failures" = 0 ] && echo "package ok"
