// The settings store in the current user's registry. Win32.
#ifndef DUOSCOPE_SETTINGS_REGISTRY_STORE_H
#define DUOSCOPE_SETTINGS_REGISTRY_STORE_H

#include "settings/player_settings.h"

// The key under HKEY_CURRENT_USER that holds the settings' values.
constexpr const char kSettingsKey[] = "Software\\Vell\\duoscope";
// Its subkey that holds what Auto decided of each film, for later runs.
constexpr const char kFilmsKey[] = "Software\\Vell\\duoscope\\Films";

// Reads value `name` into `buffer` (kSettingTextSize bytes). The buffer is left empty
// when the key or the value is missing, or the value's text needs 100 bytes or more.
void ReadSetting(const char *name, char *buffer);

// Stores `text` as the REG_SZ value `name`, creating the key when needed. Silent on failure.
void WriteSetting(const char *name, const char *text);

// Fills PlayerSettings from the registry; a missing or empty value keeps its field.
void LoadSettings();

// Writes every field of PlayerSettings to the registry.
void SaveSettings();

#endif
