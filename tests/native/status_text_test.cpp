#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
#include "string_table.h"
#include "ui/status_text.h"

namespace {

std::string Status(int nFull, int nOrg, int nStin, int nStout, const AutoChoice *choice = nullptr)
{
    char out[kStatusTextSize];
    size_t length =
        ComposeStatusText(nFull, nOrg, nStin, nStout, choice, TableString, out, sizeof out);
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

TEST(ComposeStatusText, AutoNamesTheLayoutChosenForTheCurrentFileAndWhy)
{
    auto line = [](const AutoChoice &choice) {
        return Lines(Status(0, 0, kAutoInputLayout, 17, &choice))[4];
    };
    auto choice = [](int layout, AutoReason reason, StereoKind stereo = StereoKind::None,
                     bool inverted = false) {
        AutoChoice made;
        made.layout = layout;
        made.reason = reason;
        made.stereo = stereo;
        made.inverted = inverted;
        memcpy(made.tag, "HSBS", sizeof "HSBS");
        made.width = 3840;
        made.height = 1080;
        return made;
    };
    const std::string in = "Input ---> ";
    EXPECT_EQ(in + "Auto (from the file)", Lines(Status(0, 0, kAutoInputLayout, 17))[4]);
    EXPECT_EQ(in + "Half SBS parallel (Auto: tag HSBS in the file name)",
              line(choice(2, AutoReason::NameTag)));
    EXPECT_EQ(in + "SBS parallel (Auto: tag HSBS in the file name, frame 3840x1080)",
              line(choice(0, AutoReason::TagFrame)));
    EXPECT_EQ(in + "SBS cross (Auto: side by side in the file, right eye first)",
              line(choice(1, AutoReason::Metadata, StereoKind::SideBySide, true)));
    EXPECT_EQ(in + "Half A/B (left eye above) (Auto: top and bottom in the file)",
              line(choice(6, AutoReason::Metadata, StereoKind::TopBottom)));
    EXPECT_EQ(in + "interleaved columns, left eye first (Auto: interleaved columns in the file)",
              line(choice(12, AutoReason::Metadata, StereoKind::Columns)));
    EXPECT_EQ(in + "alternating frames (left eye first) (Auto: 3D photo)",
              line(choice(8, AutoReason::Photo)));
    EXPECT_EQ(in + "alternating frames (right eye first) (Auto: two views in the file, right eye "
                   "first)",
              line(choice(9, AutoReason::TwoViews, StereoKind::None, true)));
    EXPECT_EQ(in + "SBS parallel (Auto: frame 3840x1080)", line(choice(0, AutoReason::Frame)));
    EXPECT_EQ(in + "SBS parallel (Auto: the file could not be read)",
              line(choice(0, AutoReason::Unread)));
    // The original picture, in the place of the format lines.
    AutoChoice mono = choice(0, AutoReason::Mono);
    mono.original = true;
    EXPECT_EQ("Play Original Video (Auto: 2D in the file)", line(mono));
    EXPECT_EQ(" ", Lines(Status(0, 0, kAutoInputLayout, 17, &mono))[5]);
    mono.reason = AutoReason::MvcFilm;
    EXPECT_EQ(std::string("Play Original Video") + TableString(IDS_AUTO_MVC_FILM), line(mono));
    // A spherical film by its metadata, and one in 2D, which plays as its flat view.
    AutoChoice sphere = choice(kVr180Sbs, AutoReason::Sphere);
    sphere.sphere = Sphere::HalfEquirectSbs;
    EXPECT_EQ(in + "VR180 side by side (Auto: the file's metadata, VR180 side by side)",
              line(sphere));
    sphere.original = true;
    sphere.sphere = Sphere::EquirectMono;
    EXPECT_EQ(
        "Play Original Video (Auto: the file's metadata, a 360 film in 2D: a flat view of it)",
        Lines(Status(0, 0, kAutoInputLayout, 17, &sphere))[4]);
    // Where a sphere's view looks, after the layouts.
    const SphereView view{Sphere::HalfEquirectSbs, {-30, 15, 60}, 0, false};
    char out[kStatusTextSize];
    ComposeStatusText(0, 0, kVr180Sbs, 17, nullptr, TableString, out, sizeof out, false, &view);
    EXPECT_EQ("View ---> 30 degrees left, 15 degrees up, 60 degrees wide", Lines(out)[6]);
    EXPECT_EQ("", Lines(out)[7]);
    // A stored layout, and the original picture, do not show the choice.
    EXPECT_EQ(Status(0, 0, 3, 17), Status(0, 0, 3, 17, &mono));
    EXPECT_EQ(Status(0, 1, 3, 17), Status(0, 1, kAutoInputLayout, 17, &mono));
}

TEST(ComposeStatusText, LongestTextHas564Characters)
{
    size_t longest = 0;
    for (int nFull = 0; nFull <= 1; ++nFull)
        for (int nOrg = 0; nOrg <= 1; ++nOrg)
            for (int in = 0; in < kInputFormatCount; ++in)
                for (int out = 0; out < kOutputFormatCount; ++out)
                    longest = std::max(longest, Status(nFull, nOrg, in, out).size());
    EXPECT_EQ(564u, longest);
}

// The subtitles line after the layouts, in every form, and the longest label fits.
TEST(ComposeStatusText, SubtitlesLineSaysWhatIsShown)
{
    const std::string longest(kStatusLabelSize - 1, 'x');
    const struct {
        SubtitleStatus status;
        const char *line;
    } cases[] = {
        {{"Film.fr.srt", ShownSubtitles::Drawn, 2}, "Subtitles ---> Film.fr.srt, depth +2"},
        {{"English (track 1)", ShownSubtitles::Drawn, -10},
         "Subtitles ---> English (track 1), depth -10"},
        {{"English (track 1)", ShownSubtitles::Pending, 0},
         "Subtitles ---> English (track 1) (being read from the file: shown from the next "
         "launch)"},
        {{"Japanese, picture (track 2)", ShownSubtitles::Cut, 0},
         "Subtitles ---> Japanese, picture (track 2) (not shown: the output layout would cut "
         "them in two)"},
        {{"Off", ShownSubtitles::None, 3}, "Subtitles ---> Off"},
        {{longest.c_str(), ShownSubtitles::Pending, 0}, nullptr},
    };
    for (const auto &c : cases) {
        for (int nOrg = 0; nOrg <= 1; ++nOrg) {
            char out[kStatusTextSize];
            ComposeStatusText(0, nOrg, 3, 17, nullptr, TableString, out, sizeof out, false, nullptr,
                              &c.status);
            const std::vector<std::string> lines = Lines(out);
            const size_t at = nOrg == 1 ? 5 : 6;
            ASSERT_LT(at, lines.size()) << out;
            if (c.line != nullptr) {
                EXPECT_EQ(c.line, lines[at]);
            }
            EXPECT_EQ(kKeyLines[8], lines.back()) << "the whole text fits";
        }
    }
}

TEST(ComposeStatusText, StaysInsideASmallBuffer)
{
    char out[40];
    memset(out, 'x', sizeof out);
    size_t length = ComposeStatusText(0, 0, 0, 0, nullptr, TableString, out, 30);
    EXPECT_LT(length, 30u);
    EXPECT_EQ(length, strlen(out));
    EXPECT_EQ('x', out[30]);
}

// The picture's reasons, and swapped eyes naming the mirrored layout.
TEST(StatusText, PictureAndSwappedEyes)
{
    char out[kStatusTextSize];
    AutoChoice choice;
    choice.layout = kHalfAboveLeft;
    choice.reason = AutoReason::Picture;
    choice.stereo = StereoKind::TopBottom;
    ComposeStatusText(0, 0, kAutoInputLayout, 17, &choice, TableString, out, sizeof out, true);
    EXPECT_NE(
        strstr(out,
               "Half A/B (right eye above) (Auto: the picture, top and bottom) (eyes swapped)\n"),
        nullptr)
        << out;
    choice.stereo = StereoKind::SideBySide;
    ComposeStatusText(0, 0, kAutoInputLayout, 17, &choice, TableString, out, sizeof out);
    EXPECT_NE(strstr(out, "(Auto: the picture, side by side)\n"), nullptr) << out;
    choice.stereo = StereoKind::Mono;
    choice.original = true;
    ComposeStatusText(0, 0, kAutoInputLayout, 17, &choice, TableString, out, sizeof out, true);
    EXPECT_NE(strstr(out, "Play Original Video (Auto: the picture, 2D)\n"), nullptr) << out;
    EXPECT_EQ(strstr(out, "swapped"), nullptr);
}
