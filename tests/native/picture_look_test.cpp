#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "media/probe_command.h"
#include "media/auto_layout.h"
#include "media/picture_look.h"
#include "settings/format_catalogue.h"

namespace {

using Picture = std::vector<unsigned char>;

// A scene of smooth random texture, `width` by `height`.
Picture Scene(std::mt19937 &random, int width, int height)
{
    Picture scene(static_cast<size_t>(width) * height);
    std::uniform_int_distribution<int> level(0, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            scene[y * width + x] = static_cast<unsigned char>(
                x > 0 ? (scene[y * width + x - 1] + level(random)) / 2 : level(random));
    return scene;
}

// Puts two eyes into a grey picture: the second the first moved `shift` pixels sideways.
Picture Frame(const Picture &left, const Picture &right, bool sideBySide, int shift)
{
    Picture frame(kGreyPixels);
    const int w = sideBySide ? kGreySide / 2 : kGreySide;
    const int h = sideBySide ? kGreySide : kGreySide / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int moved = std::min(std::max(x + shift, 0), w - 1);
            const size_t second = sideBySide ? y * kGreySide + w + x : (y + h) * kGreySide + x;
            frame[y * kGreySide + x] = left[y * w + x];
            frame[second] = right[y * w + moved];
        }
    return frame;
}

PictureLook Look(const Picture &frame)
{
    const PictureScores scores = ScoreGreyPicture(frame.data());
    return JudgePictureScores(&scores, 1);
}

// ffprobe's pixel lines for one picture, as it prints them on Windows: each line a
// pixel of each band, the bands' padding black.
std::string Dump(const Picture &frame)
{
    std::string lines;
    for (size_t line = 0; line < kGreyLines; ++line) {
        for (int band = 0; band < kGreyBands; ++band) {
            const size_t row = static_cast<size_t>(band) * kBandRows + line / kGreySide;
            const int level = row < kGreySide ? frame[row * kGreySide + line % kGreySide] : 0;
            lines += std::to_string(level) + ",";
        }
        lines += "\r\n";
    }
    return lines;
}

} // namespace

// Generated stereo frames (each eye a scene, the other eye moved up to two pixels
// sideways), 2D frames (two scenes) and flat ones, each also through ffprobe's dump.
TEST(PictureLook, GeneratedFrames)
{
    const unsigned seed = 2024;
    std::mt19937 random(seed);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        const int shift = round % 5 - 2;
        const Picture sbsEye = Scene(random, kGreySide / 2, kGreySide);
        const Picture tabEye = Scene(random, kGreySide, kGreySide / 2);
        const Picture other = Scene(random, kGreySide / 2, kGreySide);
        const Picture sbs = Frame(sbsEye, sbsEye, true, shift);
        EXPECT_EQ(Look(sbs), PictureLook::SideBySide);
        EXPECT_EQ(Look(Frame(tabEye, tabEye, false, shift)), PictureLook::TopBottom);
        EXPECT_EQ(Look(Frame(sbsEye, other, true, shift)), PictureLook::Flat);
        EXPECT_EQ(LookAtPictures(Dump(sbs).c_str()), PictureLook::SideBySide);
    }
    EXPECT_EQ(Look(Picture(kGreyPixels, 0)), PictureLook::Unclear);   // black
    EXPECT_EQ(Look(Picture(kGreyPixels, 140)), PictureLook::Unclear); // one colour
    EXPECT_EQ(LookAtPictures(""), PictureLook::Unclear);
    EXPECT_EQ(LookAtPictures("12,13,14,\n13,14,15,\n"), PictureLook::Unclear);
    // Pictures cut short, or by a line that is no grey level, are not read.
    static unsigned char read[3][kGreyPixels];
    const std::string two = Dump(Picture(kGreyPixels, 7)) + Dump(Picture(kGreyPixels, 255));
    EXPECT_EQ(ReadGreyPictures(two.c_str(), read, 2), 2u);
    EXPECT_EQ(read[1][kGreyPixels - 1], 255);
    EXPECT_EQ(ReadGreyPictures(two.substr(0, two.size() - 6).c_str(), read, 2), 1u);
    EXPECT_EQ(ReadGreyPictures((two + "256,0,0,\n").c_str(), read, 3), 2u);
    EXPECT_EQ(ReadGreyPictures((two + "1,2,\n").c_str(), read, 3), 2u);
    EXPECT_EQ(ReadGreyPictures(("x\n" + two).c_str(), read, 2), 0u);
}

// The rule at its edges: each threshold reached decides, just below it does not.
TEST(PictureLook, ThresholdEdges)
{
    const double e = 1e-6;
    const SplitScore other{true, kOtherScenes - e, kOtherRows + 0.5};
    struct Case {
        SplitScore sideBySide, topBottom;
        PictureLook look;
    } cases[] = {
        {{true, kSameScene, kRowSpecific}, other, PictureLook::SideBySide},
        {other, {true, kSameScene, kRowSpecific}, PictureLook::TopBottom},
        {{true, kSameScene - e, kRowSpecific}, other, PictureLook::Unclear},
        {{true, kSameScene, kRowSpecific - e}, other, PictureLook::Unclear},
        {{true, 0.99, kOtherRows - e}, other, PictureLook::Flat},
        {{true, kOtherScenes, kOtherRows}, other, PictureLook::Unclear},
        {{true, kSameScene, kRowSpecific}, {true, kSameScene, kRowSpecific}, PictureLook::Unclear},
        {{false, 0.99, 0.9}, other, PictureLook::Unclear},
    };
    for (const Case &c : cases) {
        const PictureScores scores{c.sideBySide, c.topBottom};
        EXPECT_EQ(JudgePictureScores(&scores, 1), c.look)
            << c.sideBySide.same << " " << c.sideBySide.specific;
    }
}

// The picture decides where the frame's shape would; half or full by the eye's shape.
TEST(PictureLook, AutoChoice)
{
    const ProbeAnswer frame{true,  1920,  1080, 1,     1,     StereoKind::None,
                            false, false, 0,    false, false, Projection::None,
                            -1,    -1,    -1,   -1,    0,     0};
    const ProbeAnswer tagged{true,  1920,  1080, 1,     1,     StereoKind::TopBottom,
                             false, false, 0,    false, false, Projection::None,
                             -1,    -1,    -1,   -1,    0,     0};
    struct Case {
        PictureLook look;
        int layout;
        bool original;
        AutoReason reason;
    } cases[] = {
        {PictureLook::SideBySide, kHalfSbsParallel, false, AutoReason::Picture},
        {PictureLook::TopBottom, kHalfAboveLeft, false, AutoReason::Picture},
        {PictureLook::Flat, 0, true, AutoReason::Picture},
        {PictureLook::Unclear, kHalfSbsParallel, false, AutoReason::Frame},
    };
    for (const Case &c : cases) {
        const AutoChoice choice = ChooseAutoLayout(
            "clip.mp4", [](unsigned char) { return false; }, &frame, c.look);
        EXPECT_EQ(choice.layout, c.layout);
        EXPECT_EQ(choice.original, c.original);
        EXPECT_EQ(choice.reason, c.reason);
        EXPECT_EQ(choice.lacks, AutoLacks::Nothing);
    }
    auto none = [](unsigned char) { return false; };
    EXPECT_TRUE(AutoNeedsPicture("clip.mp4", none, frame));
    EXPECT_FALSE(AutoNeedsPicture("clip.mp4", none, tagged));
    EXPECT_FALSE(AutoNeedsPicture("clip.HSBS.mp4", none, frame));
    EXPECT_EQ(MirroredInputLayout(kHalfAboveLeft), kHalfAboveRight);
    EXPECT_EQ(MirroredInputLayout(kColumnsRight), kColumnsLeft);
    EXPECT_EQ(MirroredInputLayout(99), kSbsCross);
}

// The media path stands in the graph once per picture, in its filter-value form, inside
// the quoted -i argument; the longest paths, every character escaped at its longest (a
// quote mark takes four), fit the command's size.
TEST(PictureLook, Command)
{
    static char out[kPictureCommandSize];
    auto none = [](unsigned char) { return false; };
    const char *media = "Z:\\v\\it's [a], b;c=d%.mp4";
    ASSERT_TRUE(BuildPictureCommand("C:\\p\\ffprobe.exe", media, none, out, sizeof out));
    char value[256];
    TextBuffer escaped = StartText(value, sizeof value);
    ASSERT_TRUE(AppendFilterValue(escaped, media, none));
    std::string line = out;
    EXPECT_EQ(line.find("\"C:\\p\\ffprobe.exe\" -v error -f lavfi -i \"movie="), 0u);
    size_t count = 0;
    for (size_t at = line.find(value); at != std::string::npos; at = line.find(value, at + 1))
        ++count;
    EXPECT_EQ(count, kPictureFrames);
    EXPECT_NE(line.find(",format=gray,pad=32:33:0:0,split=3[f0b0][f0b1][f0b2];[f0b0]crop=32:11:0:0,"
                        "untile=32x11[f0p0];"),
              std::string::npos)
        << line;
    EXPECT_NE(
        line.find("[f0p0][f0p1][f0p2]mergeplanes=0x001020:yuv444p,signalstats[f0];[f0]concat=n=1"
                  "\" -show_entries packet_tags=lavfi.signalstats.YAVG,lavfi.signalstats.UAVG,"
                  "lavfi.signalstats.VAVG -of csv=p=0"),
        std::string::npos)
        << line;
    EXPECT_FALSE(BuildPictureCommand("C:\\ffprobe.exe", "a\"b.mp4", none, out, sizeof out));
    const std::string longest(kPathSize - 1, '\'');
    ASSERT_TRUE(BuildPictureCommand(longest.c_str(), longest.c_str(), none, out, sizeof out));
    EXPECT_LE(strlen(out), kLongestPictureCommand);
    EXPECT_FALSE(BuildPictureCommand(longest.c_str(), (longest + "'").c_str(), none, out,
                                     kPictureCommandSize - kPathSize));
}
