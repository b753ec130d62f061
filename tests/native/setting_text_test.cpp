#include <gtest/gtest.h>

#include <cstring>

#include "settings/player_settings.h"

TEST(ParseSettingText, FollowsAtol)
{
    EXPECT_EQ(0, ParseSettingText("0"));
    EXPECT_EQ(17, ParseSettingText("17"));
    EXPECT_EQ(7, ParseSettingText(" 7"));
    EXPECT_EQ(12, ParseSettingText("\t\n\v\f\r 12"));
    EXPECT_EQ(0, ParseSettingText("abc"));
    EXPECT_EQ(2, ParseSettingText("2x"));
    EXPECT_EQ(-1, ParseSettingText("-1"));
    EXPECT_EQ(5, ParseSettingText("+5"));
    EXPECT_EQ(0, ParseSettingText("- 3"));
    EXPECT_EQ(0, ParseSettingText("--3"));
    EXPECT_EQ(40, ParseSettingText("040"));
    EXPECT_EQ(3, ParseSettingText("3.9"));
}

TEST(ParseSettingText, HoldsOutOfRangeNumbersAtTheEnds)
{
    EXPECT_EQ(INT32_MAX, ParseSettingText("2147483647"));
    EXPECT_EQ(INT32_MIN, ParseSettingText("-2147483648"));
    EXPECT_EQ(INT32_MAX, ParseSettingText("2147483648"));
    EXPECT_EQ(INT32_MIN, ParseSettingText("-99999999999999999999999"));
}

TEST(FormatSettingText, WritesPercentDAndReadsBack)
{
    const int32_t values[] = {0, 17, -1, 40, INT32_MAX, INT32_MIN};
    for (int32_t value : values) {
        char text[kSettingTextSize];
        FormatSettingText(value, text);
        char expected[32];
        snprintf(expected, sizeof expected, "%d", static_cast<int>(value));
        EXPECT_STREQ(expected, text);
        EXPECT_EQ(value, ParseSettingText(text));
    }
}

TEST(SettingFields, AreInLoadAndSaveOrder)
{
    const char *names[kSettingCount] = {"nFull", "nOrg",   "nStin", "nStout",
                                        "nGPU",  "nERCHK", "nSubs", "nSubDepth"};
    PlayerSettingsRecord record = {};
    for (int i = 0; i < kSettingCount; ++i) {
        EXPECT_STREQ(names[i], kSettingFields[i].name);
        record.*kSettingFields[i].field = i + 1;
    }
    EXPECT_EQ(1, record.nFull);
    EXPECT_EQ(2, record.nOrg);
    EXPECT_EQ(3, record.nStin);
    EXPECT_EQ(4, record.nStout);
    EXPECT_EQ(5, record.nGPU);
    EXPECT_EQ(6, record.nERCHK);
    EXPECT_EQ(7, record.nSubs);
    EXPECT_EQ(8, record.nSubDepth);
    // The six of old given alone: subtitles on, at the screen.
    const PlayerSettingsRecord six{1, 1, 1, 1, 1, 1};
    EXPECT_TRUE(ShowsSubtitles(six.nSubs));
    EXPECT_EQ(0, six.nSubDepth);
    EXPECT_FALSE(ShowsSubtitles(0));
}
