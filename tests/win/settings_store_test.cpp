#include <gtest/gtest.h>

#include <string>

#include "registry_fixture.h"
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
