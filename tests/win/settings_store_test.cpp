#include <gtest/gtest.h>

#include <string>

#include "registry_fixture.h"
#include "media/film_entry.h"
#include "media/film_store.h"
#include "settings/registry_store.h"

namespace {

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(DeleteSettingsKey());
        PlayerSettings = PlayerSettingsRecord{};
    }
    void TearDown() override { DeleteSettingsKey(); }
};

const char *const kNames[] = {"nFull", "nOrg", "nStin", "nStout", "nGPU", "nERCHK"};

} // namespace

TEST_F(SettingsStore, FirstRunWithoutKeyLoadsZerosAndSaveCreatesSixValues)
{
    char buffer[kSettingTextSize] = "stale";
    ReadSetting("nFull", buffer);
    EXPECT_STREQ("", buffer);
    LoadSettings();
    EXPECT_EQ(0, PlayerSettings.nFull);
    EXPECT_EQ(0, PlayerSettings.nStout);
    EXPECT_TRUE(DeleteSettingsKey()) << "reading must not create the key";

    SaveSettings();
    for (const char *name : kNames) {
        RawValue value = GetRawValue(name);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type) << name;
        EXPECT_EQ(std::string("0\0", 2), value.bytes) << name;
    }
    // Subtitles on, at the screen.
    EXPECT_EQ(std::string("1\0", 2), GetRawValue("nSubs").bytes);
    EXPECT_EQ(std::string("0\0", 2), GetRawValue("nSubDepth").bytes);
}

TEST_F(SettingsStore, PartialKeyLeavesMissingFieldsAndSaveCompletesIt)
{
    PutText("nStout", "17");
    PutText("nERCHK", "1");
    PlayerSettings.nFull = 4; // a missing value keeps the field as it is
    LoadSettings();
    EXPECT_EQ(4, PlayerSettings.nFull);
    EXPECT_EQ(0, PlayerSettings.nOrg);
    EXPECT_EQ(17, PlayerSettings.nStout);
    EXPECT_EQ(1, PlayerSettings.nERCHK);
    EXPECT_TRUE(ShowsSubtitles(PlayerSettings.nSubs)) << "a store without it reads as on";

    PlayerSettings.nFull = 0;
    SaveSettings();
    EXPECT_EQ(std::string("17\0", 3), GetRawValue("nStout").bytes);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), GetRawValue("nStout").type);
    for (const char *name : kNames)
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), GetRawValue(name).type) << name;
}

TEST_F(SettingsStore, TextsConvertLikeAtolAndEmptyKeepsTheStartValue)
{
    PutText("nFull", " 7");
    PutText("nOrg", "abc");
    PutText("nStin", "");
    PutText("nStout", "2x");
    PlayerSettings.nOrg = 5;
    PlayerSettings.nStin = 3;
    LoadSettings();
    EXPECT_EQ(7, PlayerSettings.nFull);
    EXPECT_EQ(0, PlayerSettings.nOrg) << "a non-empty text replaces the start value";
    EXPECT_EQ(3, PlayerSettings.nStin) << "an empty text keeps it";
    EXPECT_EQ(2, PlayerSettings.nStout);
}

TEST_F(SettingsStore, OutOfRangeValuesAreWrittenBackUnchanged)
{
    PutText("nStin", "40");
    PutText("nStout", "-1");
    PutText("nGPU", "-2147483648");
    LoadSettings();
    EXPECT_EQ(40, PlayerSettings.nStin);
    EXPECT_EQ(-1, PlayerSettings.nStout);
    EXPECT_EQ(INT32_MIN, PlayerSettings.nGPU);
    SaveSettings();
    EXPECT_EQ(std::string("40\0", 3), GetRawValue("nStin").bytes);
    EXPECT_EQ(std::string("-1\0", 3), GetRawValue("nStout").bytes);
    EXPECT_EQ(std::string("-2147483648\0", 12), GetRawValue("nGPU").bytes);
}

TEST_F(SettingsStore, TextThatNeedsAHundredBytesCountsAsMissing)
{
    const std::string longest = std::string(98, '0') + "7"; // 99 characters and the NUL
    PutText("nFull", longest);
    PutText("nOrg", std::string(99, '0') + "1");                          // 100 characters
    PutText("nStin", "5" + std::string(149, ' '));                        // 150 characters
    PutRawValue("nStout", REG_BINARY, std::string(100, '3').data(), 100); // no NUL, no room
    PutRawValue("nGPU", REG_BINARY, "12x", 3); // no NUL, but room for one
    PlayerSettings.nOrg = 8;
    PlayerSettings.nStin = 9;
    PlayerSettings.nStout = 10;
    LoadSettings();
    EXPECT_EQ(7, PlayerSettings.nFull);
    EXPECT_EQ(8, PlayerSettings.nOrg);
    EXPECT_EQ(9, PlayerSettings.nStin);
    EXPECT_EQ(10, PlayerSettings.nStout);
    EXPECT_EQ(12, PlayerSettings.nGPU);

    char buffer[kSettingTextSize];
    ReadSetting("nFull", buffer);
    EXPECT_EQ(longest, buffer);
    ReadSetting("nOrg", buffer);
    EXPECT_STREQ("", buffer);
}

TEST_F(SettingsStore, OtherValueTypesAreReadAsText)
{
    const DWORD seven = 7;
    PutRawValue("nFull", REG_DWORD, &seven, sizeof seven); // reads as the text "\x07"
    PutRawValue("nOrg", REG_SZ, "5\0garbage", 10);         // the text ends at its NUL
    PlayerSettings.nFull = 3;
    LoadSettings();
    EXPECT_EQ(0, PlayerSettings.nFull);
    EXPECT_EQ(5, PlayerSettings.nOrg);
}

TEST_F(SettingsStore, EveryReadStartsFromAnEmptyBuffer)
{
    PutText("nFull", "9");
    LoadSettings();
    EXPECT_EQ(9, PlayerSettings.nFull);
    EXPECT_EQ(0, PlayerSettings.nOrg) << "a missing value must not take the text read before";
}

TEST_F(SettingsStore, WriteSettingStoresTextWithItsNul)
{
    WriteSetting("nStout", "17");
    RawValue value = GetRawValue("nStout");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(std::string("17\0", 3), value.bytes);
    char buffer[kSettingTextSize];
    ReadSetting("nStout", buffer);
    EXPECT_STREQ("17", buffer);
}

// The films that Auto decided are kept for later runs, at most kFilmsKept of them: a new
// one drops the one kept longest ago, an entry that does not read as one (hand-edited,
// another version) is dropped and never trusted, and a film whose file has changed since
// is not recalled.
TEST_F(SettingsStore, FilmsKeptAreBoundedAndNeverTrustedBlindly)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder =
        std::string(temp) + "duoscope-films-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    auto film = [&folder](int i) { return folder + "film " + std::to_string(i) + ".mp4"; };
    const int films = kFilmsKept + 5;
    AutoChoice choice;
    choice.layout = kHalfAboveLeft;
    choice.reason = AutoReason::Picture;
    choice.stereo = StereoKind::TopBottom;
    for (int i = 0; i < films; ++i) {
        HANDLE file =
            CreateFileA(film(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
        KeepFilmChoice(film(i).c_str(), choice);
        if (i == 100) { // a hand-edited entry among them, and one of another version
            HKEY key;
            ASSERT_EQ(ERROR_SUCCESS,
                      RegOpenKeyExA(HKEY_CURRENT_USER, kFilmsKey, 0, KEY_SET_VALUE, &key));
            const char edited[] = "duoscope-film 1|1|0|0|03|0|0|8|2|0|1|1|0||C:\\v\\a.mp4";
            RegSetValueExA(key, "0123456789abcdef", 0, REG_SZ,
                           reinterpret_cast<const BYTE *>(edited), sizeof edited);
            RegSetValueExA(key, "fedcba9876543210", 0, REG_SZ,
                           reinterpret_cast<const BYTE *>("duoscope-film 2|"), 17);
            RegCloseKey(key);
        }
    }
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kFilmsKey, 0, KEY_READ, &key));
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(static_cast<DWORD>(kFilmsKept), values);
    AutoChoice recalled;
    for (int i = 0; i < films; ++i)
        EXPECT_EQ(i >= films - kFilmsKept, RecallFilmChoice(film(i).c_str(), recalled)) << i;
    EXPECT_EQ(kHalfAboveLeft, recalled.layout);
    EXPECT_EQ(AutoReason::Picture, recalled.reason);
    // A file written since is asked again.
    HANDLE file =
        CreateFileA(film(films - 1).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
    EXPECT_FALSE(RecallFilmChoice(film(films - 1).c_str(), recalled));
    for (int i = 0; i < films; ++i)
        DeleteFileA(film(i).c_str());
    RemoveDirectoryA(folder.c_str());
}
