# Helpers shared by the project's scripts; sourced (bash), never run on its own. It sets
# no shell options: each script chooses its own strictness.
# shellcheck shell=bash
tools_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Prints a message on stderr after the name of the script that runs ("wine32: ...").
say() {
  local name=${0##*/}
  echo "${name%.sh}: $*" >&2
}

# The prefix for commands that need root: empty when running as root.
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

# step LOG COMMAND...: runs the command with its output added to LOG; on failure shows
# the log's end and returns 1.
step() {
  local log=$1
  shift
  "$@" >>"$log" 2>&1 </dev/null && return 0
  say "failed: $* (see $log):"
  tail -n 15 "$log" >&2
  return 1
}

# exec_without_randomization PROGRAM ARGS...: replaces the shell with the program, run
# without address randomization (tools/wine64.sh says why) where the personality can be
# set; elsewhere (some container filters) as it is.
exec_without_randomization() {
  if setarch "$(uname -m)" -R true 2>/dev/null; then
    exec setarch "$(uname -m)" -R "$@"
  fi
  exec "$@"
}

# The Windows path (drive Z:, which Wine maps to the Unix root) of a Unix path.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# The settings' registry key, read from the program's own source (settings/registry_store.h):
# SETTINGS_KEY in the short form that reg.exe takes, SETTINGS_KEY_LONG as users read it.
settings_subkey=$(sed -n 's/.*kSettingsKey\[\] = "\(.*\)";.*/\1/p' \
  "$tools_dir/../settings/registry_store.h")
settings_subkey=${settings_subkey//\\\\/\\}
SETTINGS_KEY="HKCU\\$settings_subkey"
SETTINGS_KEY_LONG="HKEY_CURRENT_USER\\$settings_subkey"
