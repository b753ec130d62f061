#!/usr/bin/env bash
# Runs apt with a private state in a folder of its own, so that the project can fetch
# Debian packages of another suite (source packages, single .deb files) while the
# machine's apt sources, lists and packages stay as they are:
#
#   private_apt.sh DIR --sources ENTRY...   makes DIR's apt state with the given entries
#                                           ("deb-src trixie", "deb bookworm-backports") on
#                                           the archives this machine's apt uses (suites
#                                           ending in -security on its security archive),
#                                           then fetches their package lists
#   private_apt.sh DIR --served PACKAGE     prints the source versions DIR's lists serve
#   private_apt.sh DIR apt-get|apt-cache ARGS...
#                                           runs that tool on DIR's state (files that it
#                                           downloads go to the current folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
shift
opts=(-o "Dir::Etc::SourceList=$dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$dir/lists" -o "Dir::Cache=$dir/cache")

case "${1:-}" in
  --sources)
    shift
    main=$("$here/debian_mirror.sh") && security=$("$here/debian_mirror.sh" security) || {
      echo "private_apt: this machine's apt sources name no Debian archive" \
        "(set DUOSCOPE_DEBIAN_MIRROR)" >&2
      exit 1
    }
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    for entry in "$@"; do
      read -r type suite <<<"$entry"
      archive=$main
      [ "${suite%-security}" = "$suite" ] || archive=$security
      echo "$type [signed-by=$keyring] $archive $suite main"
    done >"$dir/sources.list"
    exec apt-get "${opts[@]}" -q update
    ;;
  --served) apt-cache "${opts[@]}" showsrc "$2" | sed -n 's/^Version: //p' | sort -u ;;
  apt-get | apt-cache) exec "$1" "${opts[@]}" "${@:2}" ;;
  *) echo "private_apt: unknown command [${1:-}]" >&2 && exit 2 ;;
esac
