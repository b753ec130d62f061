#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "media/probe_command.h"
#include "playback/player_command.h"
#include "string_table.h"

namespace {

const char kPlayer[] = "C:\\Apps\\ffplay.exe";
const char kMedia[] = "D:\\Video\\movie.mp4";

PlayerSettingsRecord Settings(int nFull, int nOrg, int nStin, int nStout, int nGPU, int nERCHK)
{
    return PlayerSettingsRecord{nFull, nOrg, nStin, nStout, nGPU, nERCHK};
}

std::string Command(const PlayerSettingsRecord &settings, const char *media = kMedia,
                    long width = 624, long height = 441)
{
    char out[kCommandSize];
    EXPECT_TRUE(
        BuildPlayerCommand(settings, kPlayer, media, width, height, TableString, out, sizeof out));
    return out;
}

std::string Script(const PlayerSettingsRecord &settings, const char *command)
{
    char out[kScriptTextSize];
    EXPECT_TRUE(BuildLaunchScript(settings, command, out, sizeof out));
    return out;
}

} // namespace

TEST(BuildPlayerCommand, WorkedExamplesByteForByte)
{
    EXPECT_EQ("\"C:\\Apps\\ffplay.exe\" -fs  -vf stereo3d=sbsl:arcd -x 624 -y 441 "
              "\"D:\\Video\\movie.mp4\"",
              Command(Settings(1, 0, 0, 17, 0, 0)));

    const std::string second = Command(Settings(0, 1, 0, 17, 2, 1));
    EXPECT_EQ("\"C:\\Apps\\ffplay.exe\"  -vcodec hevc_cuvid  -x 624 -y 441 "
              "\"D:\\Video\\movie.mp4\"",
              second);
    EXPECT_EQ(second + "\npause", Script(Settings(0, 1, 0, 17, 2, 1), second.c_str()));
}

TEST(BuildPlayerCommand, EmptyOptionsKeepTheirBlanks)
{
    EXPECT_EQ("\"C:\\Apps\\ffplay.exe\"    -x 624 -y 441 \"D:\\Video\\movie.mp4\"",
              Command(Settings(0, 1, 0, 0, 0, 0)));
    EXPECT_EQ("\"C:\\Apps\\ffplay.exe\"  -vcodec h264_cuvid -vf stereo3d=sbsl:sbsl -x 0 -y 0 \"\"",
              Command(Settings(0, 0, 0, 0, 1, 0), "", 0, 0));
}

TEST(BuildPlayerCommand, OptionTestsFollowTheirSettings)
{
    // nFull: any value but 0 is full screen; nOrg: only exactly 1 drops the filter.
    EXPECT_EQ(Command(Settings(1, 0, 0, 0, 0, 0)), Command(Settings(5, 0, 0, 0, 0, 0)));
    EXPECT_EQ(Command(Settings(1, 0, 0, 0, 0, 0)), Command(Settings(-1, 0, 0, 0, 0, 0)));
    EXPECT_EQ(Command(Settings(0, 0, 3, 4, 0, 0)), Command(Settings(0, 2, 3, 4, 0, 0)));
    EXPECT_NE(std::string::npos,
              Command(Settings(0, 2, 3, 4, 0, 0)).find(" -vf stereo3d=sbs2r:abl "));
    // nGPU outside 0..2 decodes on the CPU, like 0.
    EXPECT_EQ(Command(Settings(0, 0, 0, 0, 0, 0)), Command(Settings(0, 0, 0, 0, 3, 0)));
    EXPECT_EQ(Command(Settings(0, 0, 0, 0, 0, 0)), Command(Settings(0, 0, 0, 0, -1, 0)));
    // nERCHK plays no part in the command line.
    EXPECT_EQ(Command(Settings(0, 0, 0, 0, 0, 0)), Command(Settings(0, 0, 0, 0, 0, 1)));
}

TEST(BuildPlayerCommand, FilterCodesComeFromTheCatalogue)
{
    EXPECT_NE(std::string::npos,
              Command(Settings(0, 0, 12, 30, 0, 0)).find(" -vf stereo3d=icl:icl "));
    EXPECT_NE(std::string::npos,
              Command(Settings(0, 0, 13, 32, 0, 0)).find(" -vf stereo3d=icr:hdmi "));
    EXPECT_NE(std::string::npos,
              Command(Settings(0, 0, 12, 12, 0, 0)).find(" -vf stereo3d=icl:arbg "));
    // An index outside its list sends entry 0's code, and nothing longer.
    const std::string entry0 = Command(Settings(0, 0, 0, 0, 0, 0));
    EXPECT_EQ(entry0, Command(Settings(0, 0, -1, 40, 0, 0)));
    EXPECT_EQ(entry0, Command(Settings(0, 0, 14, 33, 0, 0)));
    EXPECT_EQ(entry0, Command(Settings(0, 0, INT32_MIN, INT32_MAX, 0, 0)));
}

TEST(BuildPlayerCommand, RefusesPathsThatCouldLeaveTheirQuotes)
{
    const char *unsafe[] = {
        "\"D:\\a.mp4\"", "D:\\a\" & calc & \".mp4", "D:\\a.mp4\r\ndel x", "D:\\a\n.mp4",
        "D:\\a\t.mp4",   "D:\\a\x1f.mp4",           "D:\\a\x01.mp4",      "D:\\Video\\"};
    const PlayerSettingsRecord settings = Settings(0, 0, 0, 0, 0, 0);
    for (const char *media : unsafe) {
        char out[kCommandSize] = "old";
        EXPECT_FALSE(
            BuildPlayerCommand(settings, kPlayer, media, 1, 1, TableString, out, sizeof out))
            << media;
        EXPECT_STREQ("", out);
        EXPECT_FALSE(
            BuildPlayerCommand(settings, media, kMedia, 1, 1, TableString, out, sizeof out))
            << media;
    }
    // Characters that are safe inside quotes pass unchanged, high bytes too.
    const char safe[] = "D:\\V\xe9\x95\x5C\\100% off %PATH% & ^ ! ( ) x.mp4";
    EXPECT_NE(std::string::npos, Command(settings, safe).find(std::string("\"") + safe + "\""));
}

TEST(BuildPlayerCommand, LongestInputsFitWithoutCutting)
{
    std::string player(kPathSize - 1, 'p');
    std::string media(kPathSize - 1, '%');
    const PlayerSettingsRecord settings = Settings(1, 0, 2, 19, 2, 1);
    char command[kCommandSize];
    ASSERT_TRUE(BuildPlayerCommand(settings, player.c_str(), media.c_str(), LONG_MIN / 2, INT32_MIN,
                                   TableString, command, sizeof command));
    const std::string expected = "\"" + player +
                                 "\" -fs -vcodec hevc_cuvid -vf stereo3d=sbs2l:agmh -x " +
                                 std::to_string(LONG_MIN / 2) + " -y -2147483648 \"" + media + "\"";
    EXPECT_EQ(expected, command);

    char script[kScriptTextSize];
    ASSERT_TRUE(BuildLaunchScript(settings, command, script, sizeof script));
    EXPECT_EQ(strlen(command) + media.size() + strlen("\npause"), strlen(script));

    // A buffer too small refuses instead of cutting.
    char small[64] = "old";
    EXPECT_FALSE(
        BuildPlayerCommand(settings, kPlayer, kMedia, 1, 1, TableString, small, sizeof small));
    EXPECT_STREQ("", small);
    EXPECT_FALSE(BuildLaunchScript(settings, command, small, sizeof small));
    EXPECT_STREQ("", small);
}

TEST(BuildLaunchScript, PauseLineOnlyForErrorCheckOne)
{
    const char command[] = "\"C:\\ffplay.exe\"    -x 1 -y 2 \"D:\\a.mp4\"";
    EXPECT_EQ(command, Script(Settings(0, 0, 0, 0, 0, 0), command));
    EXPECT_EQ(command, Script(Settings(0, 0, 0, 0, 0, 2), command));
    EXPECT_EQ(command, Script(Settings(0, 0, 0, 0, 0, -1), command));
    const std::string withPause = Script(Settings(0, 0, 0, 0, 0, 1), command);
    EXPECT_EQ(std::string(command) + "\npause", withPause);
    EXPECT_EQ(std::string::npos, withPause.find('\r'));
}

TEST(BuildLaunchScript, DoublesEveryPercentSign)
{
    const PlayerSettingsRecord settings = Settings(0, 0, 0, 0, 0, 0);
    EXPECT_EQ("\"C:\\ffplay.exe\" \"D:\\Video\\100%% off %%PATH%% x.mp4\"",
              Script(settings, "\"C:\\ffplay.exe\" \"D:\\Video\\100% off %PATH% x.mp4\""));
    EXPECT_EQ("%%%%", Script(settings, "%%"));
    EXPECT_EQ("", Script(settings, ""));
}

TEST(LaunchScriptPath, AppendsTheScriptNameToTheFolder)
{
    char path[kScriptPathSize];
    ASSERT_TRUE(LaunchScriptPath("C:\\Temp\\", path, sizeof path));
    EXPECT_STREQ("C:\\Temp\\duoscope.bat", path);

    std::string longest = "C:\\" + std::string(239, 'd') + "\\"; // 243 characters
    ASSERT_TRUE(LaunchScriptPath(longest.c_str(), path, sizeof path));
    EXPECT_EQ(255u, strlen(path));

    std::string tooLong = "C:\\" + std::string(240, 'd') + "\\"; // 244 characters
    EXPECT_FALSE(LaunchScriptPath(tooLong.c_str(), path, sizeof path));
    EXPECT_STREQ("", path);
    EXPECT_FALSE(LaunchScriptPath("", path, sizeof path));
}

TEST(BuildPlayerCommand, AutoOptionsStandBeforeTheMediaPathAndFitAtTheLongest)
{
    char out[kCommandSize];
    ASSERT_TRUE(BuildPlayerCommand(Settings(0, 0, 8, 17, 0, 0), kPlayer, kMedia, 624, 441,
                                   TableString, out, sizeof out, "-f mjpeg"));
    EXPECT_STREQ("\"C:\\Apps\\ffplay.exe\"   -vf stereo3d=al:arcd -x 624 -y 441 -f mjpeg "
                 "\"D:\\Video\\movie.mp4\"",
                 out);
    const std::string path(kPathSize - 1, '%');
    const char views[] = "-view_ids -1 -noframedrop";
    static_assert(sizeof views - 1 == kLongestAutoOptions, "the longest options");
    ASSERT_TRUE(BuildPlayerCommand(Settings(1, 0, 12, 19, 2, 1), path.c_str(), path.c_str(),
                                   LONG_MIN / 2, INT32_MIN, TableString, out, sizeof out, views));
    char script[kScriptTextSize];
    EXPECT_TRUE(BuildLaunchScript(Settings(1, 0, 12, 19, 2, 1), out, script, sizeof script));

    char probe[kProbeCommandSize];
    ASSERT_TRUE(BuildProbeCommand("C:\\Apps\\ffprobe.exe", kMedia, probe, sizeof probe));
    EXPECT_EQ(std::string("\"C:\\Apps\\ffprobe.exe\" ") + kProbeArguments +
                  " \"D:\\Video\\movie.mp4\"",
              probe);
    EXPECT_TRUE(BuildProbeCommand(path.c_str(), path.c_str(), probe, sizeof probe));
    EXPECT_FALSE(BuildProbeCommand("C:\\ffprobe.exe", "\"D:\\a.mp4\"", probe, sizeof probe));
    EXPECT_STREQ("", probe);
}
