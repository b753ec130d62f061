#include "settings/registry_store.h"

#include <windows.h>

#include <cstring>

void ReadSetting(const char *name, char *buffer)
{
    buffer[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD size = kSettingTextSize;
    LONG result =
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size);
    if (result == ERROR_SUCCESS) {
        // The data may lack its NUL; without room for one the value counts as missing.
        const void *nul = memchr(buffer, '\0', size);
        if (nul == nullptr && size >= kSettingTextSize)
            buffer[0] = '\0';
        else if (nul == nullptr)
            buffer[size] = '\0';
    } else {
        buffer[0] = '\0';
    }
    RegCloseKey(key);
}

void WriteSetting(const char *name, const char *text)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text),
                   static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
}

void LoadSettings()
{
    char text[kSettingTextSize];
    for (const SettingField &setting : kSettingFields) {
        ReadSetting(setting.name, text);
        if (text[0] != '\0')
            PlayerSettings.*setting.field = ParseSettingText(text);
    }
}

void SaveSettings()
{
    char text[kSettingTextSize];
    for (const SettingField &setting : kSettingFields) {
        FormatSettingText(PlayerSettings.*setting.field, text);
        WriteSetting(setting.name, text);
    }
}
