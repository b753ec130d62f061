#!/usr/bin/env bash
# pack_zip.sh ARCHIVE FILE...: packs the FILEs, by their base names (a FILE written
# DIR/./SUB/NAME as SUB/NAME) and in the given order, into the zip ARCHIVE (made anew) so
# that its bytes depend on the files' names, contents and run bits alone: every entry has
# the permissions 0755 (a file that may run: the programs, the scripts of the player's
# source) or 0644, the time SOURCE_DATE_EPOCH, and no owner or extra time fields (and no
# entries of their own for folders). SOURCE_DATE_EPOCH defaults to the time of the
# source tree's last commit (1980-01-01, the first time a zip can hold, without git).
set -euo pipefail
archive=$(realpath -m "$1")
shift
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$(dirname "$0")" log -1 --format=%ct 2>/dev/null) ||
    SOURCE_DATE_EPOCH=315532800
fi
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
names=()
for file in "$@"; do
  name=$(basename "$file")
  case "$file" in */./*) name=${file##*/./} && mkdir -p "$stage/$(dirname "$name")" ;; esac
  cp "$file" "$stage/$name"
  mode=0644
  [ ! -x "$file" ] || mode=0755
  chmod $mode "$stage/$name"
  touch -d "@$SOURCE_DATE_EPOCH" "$stage/$name"
  names+=("$name")
done
rm -f "$archive"
# Zip entries hold local time: pack in UTC so that the time zone does not matter.
(cd "$stage" && TZ=UTC zip -X -D -q -9 "$archive" "${names[@]}")
