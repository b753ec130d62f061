#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
#include "string_table.h"
#include "ui/status_text.h"

namespace {

constexpr LeadByteTest kNoLeadBytes = [](unsigned char) { return false; };

std::string Status(int nFull, int nOrg, int nStin, int nStout, const char *media = "")
{
    char out[kStatusTextSize];
    size_t length = ComposeStatusText(nFull, nOrg, nStin, nStout, media, kNoLeadBytes, TableString,
                                      out, sizeof out);
    EXPECT_EQ(strlen(out), length);
    return out;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(text.size(), start) << "the text ends with a line feed";
    return lines;
}

const char *const kKeyLines[] = {
    "q, ESC - Quit.",
    "f - Toggle full screen.",
    "p, SPC - Pause.",
    "m - Toggle mute.",
    "9, 0, /, * - Decrease and increase volume respectively.",
    "s - Step to the next frame.",
    "left/right - Seek backward/forward 10 seconds.",
    "down/up - Seek backward/forward 1 minute.",
    "left mouse double click - Toggle full screen.",
};

} // namespace

TEST(ComposeStatusText, DefaultSettingsGiveTheWorkedExample)
{
    const std::string text = Status(0, 0, 0, 0);
    EXPECT_EQ(498u, text.size());
    std::vector<std::string> expected = {"",
                                         "DuoScope - 3D Media Player using ffplay.exe",
                                         "",
                                         "[Window mode]",
                                         "Input ---> SBS parallel",
                                         "Output ---> SBS parallel",
                                         "",
                                         " ",
                                         "Drop a Media file here to start playback.",
                                         " ",
                                         "During playback, the following keys can be used.",
                                         " "};
    expected.insert(expected.end(), std::begin(kKeyLines), std::end(kKeyLines));
    EXPECT_EQ(expected, Lines(text));
}

TEST(ComposeStatusText, OriginalPictureHasNoFormatLines)
{
    const std::string text = Status(1, 1, 5, 9);
    EXPECT_EQ(473u, text.size());
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(19u, lines.size());
    EXPECT_EQ("[Full screen mode]", lines[3]);
    EXPECT_EQ("Play Original Video", lines[4]);
    EXPECT_EQ(" ", lines[5]);
    EXPECT_EQ("Drop a Media file here to start playback.", lines[6]);
}

TEST(ComposeStatusText, ModeAndFormatsFollowTheSettings)
{
    EXPECT_EQ("[Full screen mode]", Lines(Status(-7, 0, 0, 0))[3]);
    const std::vector<std::string> converted = Lines(Status(0, 2, 13, 32));
    EXPECT_EQ("Input ---> interleaved columns, right eye first", converted[4]);
    EXPECT_EQ("Output ---> HDMI frame pack", converted[5]);
    EXPECT_EQ("Output ---> anaglyph red/cyan dubois", Lines(Status(0, 0, 0, 17))[5]);
    // Indexes outside the lists show entry 0.
    EXPECT_EQ(Status(0, 0, 0, 0), Status(0, 0, -1, 40));
}

TEST(ComposeStatusText, AutoNamesTheLayoutOfTheCurrentFileAndWhy)
{
    const std::string in = "Input ---> ";
    EXPECT_EQ(in + "Auto (from the file name)", Lines(Status(0, 0, kAutoInputLayout, 17))[4]);
    EXPECT_EQ(in + TableString(IDS_INPUT_TEXT_FIRST + 2) + TableString(IDS_AUTO_TAG_BEFORE) +
                  "HSBS" + TableString(IDS_AUTO_TAG_AFTER),
              Lines(Status(0, 0, kAutoInputLayout, 17, "D:\\x.3D.HSBS.mp4"))[4]);
    EXPECT_EQ(in + "SBS parallel" + TableString(IDS_AUTO_NO_TAG),
              Lines(Status(0, 0, kAutoInputLayout, 17, "D:\\3D\\clip.mp4"))[4]);
    // A stored layout, and the original picture, do not look at the name.
    EXPECT_EQ(Status(0, 0, 3, 17), Status(0, 0, 3, 17, "x.HOU.mp4"));
    EXPECT_EQ(Status(0, 1, 3, 17), Status(0, 1, kAutoInputLayout, 17, "x.HOU.mp4"));
}

TEST(ComposeStatusText, LongestTextHas559Characters)
{
    size_t longest = 0;
    for (int nFull = 0; nFull <= 1; ++nFull)
        for (int nOrg = 0; nOrg <= 1; ++nOrg)
            for (int in = 0; in < kInputFormatCount; ++in)
                for (int out = 0; out < kOutputFormatCount; ++out)
                    longest = std::max(longest, Status(nFull, nOrg, in, out).size());
    EXPECT_EQ(559u, longest);
}

TEST(ComposeStatusText, StaysInsideASmallBuffer)
{
    char out[40];
    memset(out, 'x', sizeof out);
    size_t length = ComposeStatusText(0, 0, 0, 0, "", kNoLeadBytes, TableString, out, 30);
    EXPECT_LT(length, 30u);
    EXPECT_EQ(length, strlen(out));
    EXPECT_EQ('x', out[30]);
}
