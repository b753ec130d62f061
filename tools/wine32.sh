#!/usr/bin/env bash
# Runs Debian's 32-bit (i386) Wine on an x86_64 machine whose kernel cannot run 32-bit
# code: every i386 program goes through qemu-user's i386 emulator.
#
#   wine32.sh --setup            one-off set-up (needs root or sudo; safe to repeat)
#   wine32.sh --remove           undo all of it
#   wine32.sh --check            fail, saying what to do, unless ready (registers again
#                                after a reboot when allowed to)
#   wine32.sh --server ARGS...   run the 32-bit wineserver
#   wine32.sh ARGS...            run the 32-bit wine (like wine64.sh for the 64-bit one)
#
# The set-up lives outside any checkout, in ${XDG_CACHE_HOME:-~/.cache}/duoscope/wine32
# (or DUOSCOPE_WINE32_CACHE), about 1 GB, made once in 5-15 minutes:
# - qemu-i386 10 from Debian 12's backports suite, taken out of the package with a
#   private apt state (the machine's apt sources and packages stay as they are). The
#   emulator of Debian 12 itself (7.2) takes about 100 s per Wine process, because it
#   does not honour the MAP_FIXED_NOREPLACE requests with which Wine reserves memory;
# - that emulator registered with the kernel's binfmt_misc as "duoscope-i386" (flag F),
#   so that every i386 program, including those Wine starts, runs through it. The
#   registration does not survive a reboot; --setup makes it again;
# - an i386 Debian 12 root (debootstrap, minbase) with wine and wine32 installed.
# Programs do not run inside that root (no chroot, no mounts): qemu takes the root as the
# prefix of its library paths (QEMU_LD_PREFIX), so files that exist in the root are
# read from there and all others (the Wine prefix, the X socket, /proc) from the machine.
# (No -e: the steps report failure by their status and each caller says what to do; no
# pipefail: grep -q ends the pipes of the mount check early.)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
key=bookworm-qemu10-1 # change to make a new set-up next to the old one
cache="${DUOSCOPE_WINE32_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/duoscope/wine32}"
dir="$cache/$key"
root="$dir/root"
qemu="$dir/qemu-i386"
binfmt=/proc/sys/fs/binfmt_misc
name=duoscope-i386
# Fails when anything is mounted below the folder (a root must never be deleted then).
nothing_mounted_in() {
  if findmnt -rn -o TARGET | grep -q "^$1/"; then
    say "something is still mounted below $1; unmount it first (findmnt | grep '$1')"
    return 1
  fi
}

registered() {
  [ -f "$binfmt/$name" ] && grep -qx enabled "$binfmt/$name" &&
    grep -qxF "interpreter $1" "$binfmt/$name"
}

register() {
  registered "$1" && return 0
  [ -f "$binfmt/register" ] || $sudo_cmd mount -t binfmt_misc binfmt_misc "$binfmt" || return 1
  [ ! -f "$binfmt/$name" ] || echo -1 | $sudo_cmd tee "$binfmt/$name" >/dev/null || return 1
  say "registering $1 for i386 programs ($binfmt/$name)"
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":$name:M::$magic:$mask:$1:F" | $sudo_cmd tee "$binfmt/register" >/dev/null
}

build() {
  local work=$1 log=$1.log
  : >"$log"
  say "setting up 32-bit Wine in $dir (about 1 GB, 5-15 minutes; log: $log)"
  # (From the Debian archive that the machine's apt uses.)
  local mirror
  mirror=$("$here/debian_mirror.sh") || { say "no Debian archive in apt's sources"; return 1; }
  local apt=("$here/private_apt.sh" "$work/apt")
  say "downloading qemu-user from bookworm-backports (private apt state)"
  mkdir -p "$work/apt" && step "$log" "${apt[@]}" --sources "deb bookworm-backports" || return 1
  (cd "$work/apt" && step "$log" "${apt[@]}" apt-get download qemu-user/bookworm-backports) ||
    return 1
  dpkg-deb --fsys-tarfile "$work"/apt/qemu-user_*.deb |
    tar -x -O ./usr/bin/qemu-i386 >"$work/qemu-i386" && chmod 755 "$work/qemu-i386" &&
    step "$log" "$work/qemu-i386" --version || return 1
  rm -rf "$work/apt"
  register "$work/qemu-i386" || return 1
  say "making an i386 Debian root (debootstrap)"
  step "$log" $sudo_cmd debootstrap --arch=i386 --variant=minbase bookworm "$work/root" \
    "$mirror" || return 1
  say "installing wine and wine32 in it"
  step "$log" $sudo_cmd chroot "$work/root" apt-get update || return 1
  $sudo_cmd mount -t proc proc "$work/root/proc" || return 1
  trap '$sudo_cmd umount "$work/root/proc"' EXIT # (also when interrupted)
  step "$log" $sudo_cmd chroot "$work/root" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends wine wine32
  local status=$?
  $sudo_cmd umount "$work/root/proc" && trap - EXIT || return 1
  [ $status -eq 0 ] || return 1
  step "$log" $sudo_cmd chroot "$work/root" apt-get clean
  date -u >"$work/.ready" # written last: the set-up is complete
}

setup() {
  command -v debootstrap >/dev/null || "$here/setup.sh" || return 1
  mkdir -p "$cache"
  exec 8>"$cache/$key.lock"
  flock 8
  if [ ! -f "$dir/.ready" ]; then
    local work="$dir.partial"
    if [ -e "$work" ]; then
      nothing_mounted_in "$work" || return 1
      $sudo_cmd rm -rf "$work"
    fi
    build "$work" || { say "set-up failed; run it again to retry"; return 1; }
    mv "$work" "$dir" && mv "$work.log" "$dir.log"
    say "ready; to remove it: $here/wine32.sh --remove (or unregister with"
    say "  echo -1 > $binfmt/$name, then rm -rf $dir)"
  fi
  register "$qemu"
}

remove() {
  if [ -f "$binfmt/$name" ]; then
    say "unregistering $binfmt/$name"
    echo -1 | $sudo_cmd tee "$binfmt/$name" >/dev/null || return 1
  fi
  nothing_mounted_in "$cache" || return 1
  say "removing $cache"
  $sudo_cmd rm -rf "$cache"
}

check() {
  if [ ! -f "$dir/.ready" ]; then
    say "32-bit Wine is not set up in $dir: run $here/wine32.sh --setup"
    return 1
  fi
  register "$qemu" ||
    { say "cannot register $qemu with binfmt_misc: run $here/wine32.sh --setup"; return 1; }
}

case "${1:-}" in
  --setup) setup; exit ;;
  --remove) remove; exit ;;
  --check) check; exit ;;
  --server) shift; program=/usr/lib/wine/wineserver32 ;;
  *) program=/usr/lib/wine/wine ;;
esac
check || exit 1
export QEMU_LD_PREFIX=$root WINESERVER=$root/usr/lib/wine/wineserver32
exec_without_randomization "$root$program" "$@"
