# Helpers shared by the project's scripts; sourced, never run on its own.
# shellcheck shell=bash
tools_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The settings' registry key, read from the program's own source (settings/registry_store.h):
# SETTINGS_KEY in the short form that reg.exe takes, SETTINGS_KEY_LONG as users read it.
settings_subkey=$(sed -n 's/.*kSettingsKey\[\] = "\(.*\)";.*/\1/p' \
  "$tools_dir/../settings/registry_store.h")
settings_subkey=${settings_subkey//\\\\/\\}
SETTINGS_KEY="HKCU\\$settings_subkey"
SETTINGS_KEY_LONG="HKEY_CURRENT_USER\\$settings_subkey"
