// The subtitle graphs as Debian's ffmpeg runs them: for a seeded sample of (input, output)
// pairs (every pair, at depths 0 and both bounds, with DUOSCOPE_ALL_PAIRS=1; another seed
// with DUOSCOPE_SEED), ffmpeg must take the graph with cues drawn, and with an empty
// subtitle file give the very picture of the graph without subtitles (or, where the stage
// converts the layout first, of the same stage at depth 0); and over a flat picture the
// words of each eye must move whole, each eye's the other way. The files lie in a folder
// whose name holds every character that the graph must escape.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "playback/subtitle_graph.h"
#include "string_table.h"

namespace {

const std::string kFolder = DUOSCOPE_CHECK_DIR "/it's [3D], a; b=c:d\\e";
constexpr int kHdmiOutput = 32;

bool NoLeadBytes(unsigned char)
{
    return false;
}

std::string ShellQuoted(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs a shell command; its output (stdout and stderr) in `output`.
bool RunShell(const std::string &command, std::string &output)
{
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return false;
    output.clear();
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        output.append(chunk, n);
    return pclose(pipe) == 0;
}

const char kAssHead[] =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 384\nPlayResY: 288\n\n[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
    "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
    "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,DejaVu Sans,20,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,"
    "100,0,0,1,2,0,2,10,10,10,1\n\n[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, "
    "MarginR, MarginV, Effect, Text\n";

class SubtitleGraphFfmpeg : public ::testing::Test {
  protected:
    void SetUp() override
    {
        std::string output;
        if (!RunShell("ffmpeg -hide_banner -filters", output) ||
            output.find(" subtitles ") == std::string::npos)
            GTEST_SKIP() << "no ffmpeg with the subtitles filter (libass): Debian's ffmpeg";
        mkdir(DUOSCOPE_CHECK_DIR, 0755);
        mkdir(kFolder.c_str(), 0755);
        std::ofstream(kFolder + "/cues.ass")
            << kAssHead << "Dialogue: 0,0:00:00.00,0:01:00.00,Default,,0,0,0,,Both eyes Wg\n"
            << "Dialogue: 0,0:00:00.00,0:01:00.00,Default,,0,0,0,,{\\pos(40,60)}At 40,60\n"
            << "Dialogue: 0,0:00:00.00,0:01:00.00,Default,,0,0,0,,{\\pos(380,150)}Edge\n";
        std::ofstream(kFolder + "/empty.ass") << kAssHead;
        // Lossless clips: 1080 lines, 2160 for HDMI packing of eyes half as high, and flat;
        // ten frames, so that the three compared come before the end, where stereo3d
        // drops the last pair it holds back for an alternating output.
        for (int height : {1080, 2160, 0}) {
            const std::string clip = Clip(height);
            const std::string source = height == 0 ? "color=gray:size=1920x1080"
                                                   : "testsrc=size=1920x" + std::to_string(height);
            struct stat info;
            if (stat(clip.c_str(), &info) != 0) {
                ASSERT_TRUE(RunShell("ffmpeg -v error -y -f lavfi -i " + source +
                                         ":rate=25 -frames:v 10 -pix_fmt yuv420p -c:v ffv1 " +
                                         ShellQuoted(clip),
                                     output))
                    << output;
            }
        }
    }

    static std::string Clip(int height)
    {
        return std::string(DUOSCOPE_CHECK_DIR) + "/clip" + std::to_string(height) + ".mkv";
    }

    // The graph of a pair with `file` drawn (none for null) at `depth`.
    static std::string Graph(int input, int output, const char *file, int depth)
    {
        const std::string path = file == nullptr ? "" : kFolder + "/" + file;
        const SubtitleDrawing drawing{path.c_str(), kSubtitleSideFile, "", "", depth, 1920,
                                      1080,         NoLeadBytes};
        static char out[kLongestPlayerGraph + 1];
        TextBuffer text = StartText(out, sizeof out);
        EXPECT_TRUE(AppendPlayerGraph(text, nullptr, false, input, output,
                                      file == nullptr ? nullptr : &drawing, TableString));
        return out;
    }

    // ffmpeg's run of `graph` over the pair's clip.
    static bool Filter(int input, int output, const std::string &graph, std::string &result)
    {
        const bool tall = output == kHdmiOutput &&
                          (input == kAboveLeft || input == kAboveRight || input == kHalfAboveLeft ||
                           input == kHalfAboveRight || input == kRowsLeft || input == kRowsRight);
        return RunShell("ffmpeg -v error -nostdin -i " + ShellQuoted(Clip(tall ? 2160 : 1080)) +
                            " -vf " + ShellQuoted(graph) + " -frames:v 3 -f md5 -",
                        result);
    }

    // The first frame of `graph` over the flat clip, one grey byte a pixel.
    static std::string Grey(const std::string &graph)
    {
        std::string pixels;
        EXPECT_TRUE(RunShell("ffmpeg -v error -nostdin -i " + ShellQuoted(Clip(0)) + " -vf " +
                                 ShellQuoted(graph) + " -frames:v 1 -f rawvideo -pix_fmt gray -",
                             pixels));
        return pixels;
    }

    static std::string Md5Of(const std::string &output)
    {
        const size_t at = output.find("MD5=");
        return at == std::string::npos ? "(no MD5) " + output : output.substr(at, 36);
    }

    static void CheckPair(int input, int output, int depth)
    {
        SCOPED_TRACE("input " + std::to_string(input) + ", output " + std::to_string(output) +
                     ", depth " + std::to_string(depth));
        std::string drawn, empty, plain;
        // (A pair's run writes the MD5 of its frames, or ffmpeg's messages.)
        ASSERT_TRUE(Filter(input, output, Graph(input, output, "cues.ass", depth), drawn)) << drawn;
        // Where the stage hands on the layout it was given, the picture is the plain one.
        char stage[kLongestPlayerGraph + 1];
        TextBuffer text = StartText(stage, sizeof stage);
        const SubtitleDrawing any{"s.ass", kSubtitleSideFile, "", "", depth, 0, 0, NoLeadBytes};
        const bool converts = AppendSubtitleStage(text, input, any, TableString) != input;
        if (converts && depth == 0)
            return;
        ASSERT_TRUE(Filter(input, output, Graph(input, output, "empty.ass", depth), empty))
            << empty;
        ASSERT_TRUE(Filter(input, output,
                           converts ? Graph(input, output, "empty.ass", 0)
                                    : Graph(input, output, nullptr, 0),
                           plain))
            << plain;
        EXPECT_EQ(Md5Of(plain), Md5Of(empty)) << "the picture changed";
    }
};

} // namespace

// Half side by side into side by side, half above/below into above/below: each eye's
// drawing at a depth is its drawing at depth 0 moved sideways, pixel for pixel (away from
// the eye's edges, where words move in or out), and there are words to move.
TEST_F(SubtitleGraphFfmpeg, WordsMoveWholeAndOppositeInTheEyes)
{
    constexpr long kWidth = 1920, kHeight = 1080,
                   kMargin = 2 * kSubtitleDepthLimit * kSubtitleDepthStepPixels;
    for (int depth : {7, -3}) {
        for (int input : {kHalfSbsParallel, kHalfAboveLeft}) {
            SCOPED_TRACE("input " + std::to_string(input) + ", depth " + std::to_string(depth));
            const int output = input == kHalfSbsParallel ? kSbsParallel : kAboveLeft;
            const std::string still = Grey(Graph(input, output, "cues.ass", 0));
            const std::string moved = Grey(Graph(input, output, "cues.ass", depth));
            ASSERT_EQ(size_t(kWidth * kHeight), still.size());
            ASSERT_EQ(still.size(), moved.size());
            const bool sideBySide = input == kHalfSbsParallel;
            const long eyeWidth = sideBySide ? kWidth / 2 : kWidth;
            const long eyeHeight = sideBySide ? kHeight : kHeight / 2;
            for (int eye = 0; eye < 2; ++eye) {
                const long shift = (eye == 0 ? 1 : -1) * depth * kSubtitleDepthStepPixels;
                const long left = sideBySide ? eye * eyeWidth : 0;
                const long top = sideBySide ? 0 : eye * eyeHeight;
                long differing = 0, words = 0;
                for (long y = top; y < top + eyeHeight; ++y)
                    for (long x = left + kMargin; x < left + eyeWidth - kMargin; ++x) {
                        differing += still[y * kWidth + x] != moved[y * kWidth + x + shift];
                        words += still[y * kWidth + x] != still[0];
                    }
                EXPECT_EQ(0, differing) << "eye " << eye;
                EXPECT_LT(1000, words) << "eye " << eye;
            }
        }
    }
}

TEST_F(SubtitleGraphFfmpeg, PairsRunAndKeepThePicture)
{
    const char *seedText = getenv("DUOSCOPE_SEED");
    const unsigned seed = seedText != nullptr ? static_cast<unsigned>(atol(seedText)) : 20261208u;
    if (getenv("DUOSCOPE_ALL_PAIRS") != nullptr) {
        for (int input = 0; input < kAutoInputLayout; ++input)
            for (int output = 0; output < kOutputFormatCount; ++output)
                for (int depth : {0, kSubtitleDepthLimit, -kSubtitleDepthLimit})
                    CheckPair(input, output, depth);
        return;
    }
    printf("seed %u (DUOSCOPE_SEED)\n", seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    constexpr int kPairs = 8;
    for (int pair = 0; pair < kPairs; ++pair) {
        const int input = static_cast<int>(random() % kAutoInputLayout);
        const int output = static_cast<int>(random() % kOutputFormatCount);
        const int depth =
            static_cast<int>(random() % (2 * kSubtitleDepthLimit + 1)) - kSubtitleDepthLimit;
        CheckPair(input, output, depth);
    }
}
