// Helpers for tests that use the real registry key of the settings store.
#ifndef DUOSCOPE_TESTS_REGISTRY_FIXTURE_H
#define DUOSCOPE_TESTS_REGISTRY_FIXTURE_H

#include <windows.h>

#include <string>
#include <vector>

#include "settings/registry_store.h"

// Removes the settings key with all its values; true when it is gone afterwards.
inline bool DeleteSettingsKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return false;
    }
    return true;
}

// Stores raw data of any type under the settings key.
inline void PutRawValue(const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size));
    RegCloseKey(key);
}

inline void PutText(const char *name, const std::string &text)
{
    PutRawValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// A stored value as its type and its data bytes; type 0 and no bytes when missing.
struct RawValue {
    DWORD type;
    std::string bytes;
};

inline RawValue GetRawValue(const char *name)
{
    RawValue value{0, ""};
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    char data[512];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &value.type, reinterpret_cast<BYTE *>(data), &size) ==
        ERROR_SUCCESS)
        value.bytes.assign(data, size);
    else
        value.type = 0;
    RegCloseKey(key);
    return value;
}

// The six registry values as text, "-" for a missing one or one of another type.
inline std::vector<std::string> StoredSettings()
{
    std::vector<std::string> texts;
    for (const char *name : {"nFull", "nOrg", "nStin", "nStout", "nGPU", "nERCHK"}) {
        RawValue value = GetRawValue(name);
        bool text = value.type == REG_SZ && !value.bytes.empty() && value.bytes.back() == '\0';
        texts.push_back(text ? value.bytes.substr(0, value.bytes.size() - 1) : "-");
    }
    return texts;
}

#endif
