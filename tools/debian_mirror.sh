#!/bin/sh
# Prints the address of the Debian archive that this machine's apt uses, so that the
# project's downloads go where the machine's own packages come from:
#
#   tools/debian_mirror.sh             the main archive (DUOSCOPE_DEBIAN_MIRROR overrides it)
#   tools/debian_mirror.sh security    the security archive
#
# Read from apt's sources, deb822 (.sources) and one-line (.list) files alike; fails
# when no binary ("deb") entry names such an archive.
want=${1:-main}
if [ "$want" = main ] && [ -n "${DUOSCOPE_DEBIAN_MIRROR:-}" ]; then
  echo "$DUOSCOPE_DEBIAN_MIRROR"
  exit 0
fi
# One line "URI SUITE" per binary entry of each file, then the first of the kind wanted.
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] && sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\)[[:space:]]\+\([^[:space:]]\+\).*/\2 \3/p' "$f"
done
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && awk 'BEGIN { RS = ""; FS = "\n" }
    {
      types = uris = suites = ""
      for (i = 1; i <= NF; i++) {
        if ($i ~ /^Types:/) types = $i
        if ($i ~ /^URIs:/) { uris = $i; sub(/^URIs:[ \t]*/, "", uris) }
        if ($i ~ /^Suites:/) { suites = $i; sub(/^Suites:[ \t]*/, "", suites) }
      }
      if (types ~ /[ \t]deb([ \t]|$)/) {
        split(uris, u, /[ \t]+/); split(suites, s, /[ \t]+/)
        for (j in s) print u[1], s[j]
      }
    }' "$f"
done | awk -v want="$want" '
  want == "security" && $2 ~ /-security$/ { print $1; found = 1; exit }
  want != "security" && $2 !~ /-/ { print $1; found = 1; exit }
  END { exit !found }'
