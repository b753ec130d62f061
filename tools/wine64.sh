#!/usr/bin/env bash
# Runs Debian's 64-bit Wine (wine64 ARGS...) without address randomization.
#
# That Wine has no preloader: its loader lies at 0x7d000000, and the kernel starts the
# C heap at a random place in the gigabyte above it. About one process start in a few
# thousand then finds its heap on the page where Wine maps the shared user data
# (0x7ffe0000), and the process ends at once with exit code 1 ("failed to map the
# shared user data", unseen under WINEDEBUG=-all). Without address randomization the
# heap starts right after the loader; the setting passes to every process that Wine
# starts from there. Where the personality cannot be set (some container filters),
# Wine runs as before.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
exec_without_randomization /usr/lib/wine/wine64 "$@"
