#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "playback/player_command.h"
#include "playback/subtitle_graph.h"
#include "string_table.h"
#include "tests/ffmpeg_token.h"

namespace {

bool NoLeadBytes(unsigned char)
{
    return false;
}

// A name with every character that either of FFmpeg's rounds takes for itself.
const char kNasty[] = "C:\\Films\\it's [3D], a; b=c\\d.srt";

SubtitleDrawing Drawing(const char *file, int stream, int depth, long width = 0, long height = 0)
{
    return SubtitleDrawing{file, stream, "", "", depth, width, height, NoLeadBytes};
}

std::string Graph(int input, int output, const SubtitleDrawing *drawing,
                  const GraphPrefix *prefix = nullptr, bool original = false)
{
    static char out[kLongestPlayerGraph + 1];
    TextBuffer text = StartText(out, sizeof out);
    EXPECT_TRUE(AppendPlayerGraph(text, prefix, original, input, output, drawing, TableString));
    return out;
}

// The value of option `key` of a filter's options, or "(none)".
std::string Option(const std::string &arguments, const char *key)
{
    for (const auto &option : OptionsOf(arguments))
        if (option.first == key)
            return option.second;
    return "(none)";
}

} // namespace

// Each input family's graph, read back as FFmpeg reads it: how it begins (the eyes split
// apart, or first converted), how the eyes are put back, the layout handed to the stereo
// conversion, and every drawing's file name whole, with its stream and its frame shape.
TEST(SubtitleGraph, EachFamilyDrawsIntoEachEyeAndReadsBack)
{
    struct Row {
        int input, depth;
        const char *first, *stack, *leaving; // "" for no stack
        const char *size;                    // original_size, "(none)" for a full eye
    } rows[] = {
        {kSbsParallel, 0, "split", "hstack", "sbsl", "(none)"},
        {kSbsCross, 4, "split=4", "hstack=inputs=4", "sbsr", "(none)"},
        {kHalfSbsParallel, 0, "split", "hstack", "sbs2l", "1920x1080"},
        {kHalfSbsCross, -10, "split=4", "hstack=inputs=4", "sbs2r", "1920x1080"},
        {kAboveRight, 1, "split=4", "vstack", "abr", "(none)"},
        {kHalfAboveLeft, 0, "split", "vstack", "ab2l", "1920x1080"},
        {kAlternatingLeft, 0, "subtitles", "", "al", "(none)"},
        {kAlternatingRight, -2, "stereo3d=ar:sbsl", "hstack=inputs=4", "sbsl", "(none)"},
        {kRowsRight, 0, "stereo3d=irr:abl", "vstack", "abl", "1920x1080"},
        {kRowsLeft, 3, "stereo3d=irl:abl", "vstack", "abl", "1920x1080"},
        {kColumnsLeft, 0, "stereo3d=icl:sbsl", "hstack", "sbsl", "1920x1080"},
        {kColumnsRight, 10, "stereo3d=icr:sbsl", "hstack=inputs=4", "sbsl", "1920x1080"},
    };
    for (const Row &row : rows) {
        const SubtitleDrawing drawing = Drawing(kNasty, 3, row.depth);
        const std::string graph = Graph(row.input, 17, &drawing);
        const auto filters = FiltersOf(graph.c_str());
        const auto named = [&](size_t i) {
            return filters[i].name +
                   (filters[i].arguments.empty() ? "" : "=" + filters[i].arguments);
        };
        SCOPED_TRACE(graph);
        EXPECT_EQ(row.first, filters[0].name == "subtitles" ? filters[0].name : named(0));
        EXPECT_EQ(std::string("stereo3d=") + row.leaving + ":arcd", named(filters.size() - 1));
        if (row.stack[0] != '\0') {
            EXPECT_EQ(row.stack, named(filters.size() - 2));
        }
        size_t drawings = 0;
        for (const GraphFilter &filter : filters) {
            EXPECT_NE("(unreadable)", filter.name);
            if (filter.name != "subtitles")
                continue;
            ++drawings;
            EXPECT_EQ(kNasty, Option(filter.arguments, "filename"));
            EXPECT_EQ("3", Option(filter.arguments, "si"));
            EXPECT_EQ(row.size, Option(filter.arguments, "original_size"));
        }
        EXPECT_EQ(row.stack[0] != '\0' ? 2u : 1u, drawings);
    }

    // The original picture: one drawing over it, whatever the depth; the known frame's
    // size for a half eye; a side file has no stream; a depth beyond the bound is held.
    const SubtitleDrawing side = Drawing(kNasty, kSubtitleSideFile, 7);
    const auto original = FiltersOf(Graph(kHalfSbsParallel, 17, &side, nullptr, true).c_str());
    ASSERT_EQ(1u, original.size());
    EXPECT_EQ(kNasty, Option(original[0].arguments, "filename"));
    EXPECT_EQ("(none)", Option(original[0].arguments, "si"));
    const SubtitleDrawing known = Drawing(kNasty, 0, 0, 3840, 1080);
    EXPECT_NE(std::string::npos, Graph(kHalfSbsCross, 0, &known).find(":original_size=3840x1080["));
    const SubtitleDrawing deep = Drawing(kNasty, 0, 99), deepest = Drawing(kNasty, 0, 10);
    EXPECT_EQ(Graph(kAboveLeft, 0, &deepest), Graph(kAboveLeft, 0, &deep));
}

// A few whole graphs, byte for byte: the shifts go opposite ways in the two eyes, and the
// strip the canvas leaves out goes back on its side.
TEST(SubtitleGraph, WorkedExamplesByteForByte)
{
    const SubtitleDrawing half = Drawing("D:\\s.srt", 2, 0, 3840, 1080);
    EXPECT_EQ("split[a][b];[a]crop=iw/2:ih:0:0,subtitles=filename=D\\\\:\\\\\\\\s.srt:si=2:"
              "original_size=3840x1080[c];[b]crop=iw/2:ih:iw/2:0,subtitles=filename=D\\\\:"
              "\\\\\\\\s.srt:si=2:original_size=3840x1080[d];[c][d]hstack,stereo3d=sbs2l:sbsl",
              Graph(kHalfSbsParallel, 0, &half));
    // Nearer by 5 steps, left eye left: its words 10 pixels right, the right eye's left.
    SubtitleDrawing nearer = Drawing("s.srt", kSubtitleSideFile, 5);
    nearer.fontsDir = "C:\\f\\";
    EXPECT_EQ("split=4[a][b][c][d];[a]crop=10:ih:0:0[e];[b]crop=iw/2-10:ih:10:0,pad=iw+10:ih:0:0,"
              "subtitles=fontsdir=C\\\\:\\\\\\\\f\\\\\\\\:filename=s.srt,crop=iw-10:ih:0:0[f];"
              "[c]crop=iw/2-10:ih:iw/2:0,pad=iw+10:ih:10:0,subtitles=fontsdir=C\\\\:\\\\\\\\f"
              "\\\\\\\\:filename=s.srt,crop=iw-10:ih:10:0[g];[d]crop=10:ih:iw-10:0[h];"
              "[e][f][g][h]hstack=inputs=4,stereo3d=sbsl:arcd",
              Graph(kSbsParallel, 17, &nearer));
    // Farther by one step, right eye above: its words 2 pixels right, the left eye's left.
    SubtitleDrawing farther = Drawing("s.srt", kSubtitleSideFile, -1);
    farther.forceStyle = "FontSize=20,Outline=1";
    EXPECT_EQ("split=4[a][b][c][d];[a]crop=2:ih/2:0:0[e];[b]crop=iw-2:ih/2:2:0,pad=iw+2:ih:0:0,"
              "subtitles=force_style=FontSize\\\\=20\\,Outline\\\\=1:filename=s.srt,"
              "crop=iw-2:ih:0:0[f];[c]crop=iw-2:ih/2:0:ih/2,pad=iw+2:ih:2:0,"
              "subtitles=force_style=FontSize\\\\=20\\,Outline\\\\=1:filename=s.srt,"
              "crop=iw-2:ih:2:0[g];[d]crop=2:ih/2:iw-2:ih/2[h];[e][f]hstack[i];[g][h]hstack[j];"
              "[i][j]vstack,stereo3d=abr:ml",
              Graph(kAboveRight, 26, &farther));
    // A prefix hands on full side-by-side eyes, whatever the stored input layout.
    const GraphPrefix prefix{"v360=hequirect:flat:in_stereo=sbs:out_stereo=sbs", kSbsParallel};
    const SubtitleDrawing plain = Drawing("s.srt", kSubtitleSideFile, 0);
    EXPECT_EQ(std::string(prefix.filters) +
                  ",split[a][b];[a]crop=iw/2:ih:0:0,subtitles=filename=s.srt[c];[b]crop=iw/2:ih:"
                  "iw/2:0,subtitles=filename=s.srt[d];[c][d]hstack,stereo3d=sbsl:arcd",
              Graph(kHalfAboveLeft, 17, &plain, &prefix));
    EXPECT_EQ(std::string(prefix.filters) + ",stereo3d=sbsl:arcd",
              Graph(kHalfAboveLeft, 17, nullptr, &prefix));
}

TEST(SubtitleGraph, RefusesWhatCannotStandInTheGraph)
{
    const std::string longStyle(kForceStyleSize, 'a');
    const std::string longPrefix(kLongestGraphPrefix + 1, 'v');
    SubtitleDrawing drawings[] = {Drawing("D:\\a\".srt", 0, 0), Drawing("D:\\dir\\", 0, 0),
                                  Drawing("D:\\a\n.srt", 0, 0), Drawing("s.srt", 0, 0),
                                  Drawing("s.srt", 0, 0)};
    drawings[3].forceStyle = longStyle.c_str();
    drawings[4].fontsDir = "C:\\\"f";
    for (bool original : {false, true})
        for (const SubtitleDrawing &drawing : drawings) {
            char out[kLongestPlayerGraph + 1];
            TextBuffer text = StartText(out, sizeof out);
            EXPECT_FALSE(AppendPlayerGraph(text, nullptr, original, 0, 0, &drawing, TableString));
            EXPECT_TRUE(text.overflow);
        }
    char out[kLongestPlayerGraph + 1];
    TextBuffer text = StartText(out, sizeof out);
    const GraphPrefix prefix{longPrefix.c_str(), 0};
    EXPECT_FALSE(AppendPlayerGraph(text, &prefix, false, 0, 0, nullptr, TableString));
}

TEST(SubtitleGraph, PictureSubtitlesAreSplitOnlyAcrossARegionSeam)
{
    std::string split;
    for (int output = -1; output <= kOutputFormatCount; ++output)
        split += SplitsPictureSubtitles(output) ? 'S' : '.';
    // -1 and 33 stand for entry 0, side by side.
    EXPECT_EQ("SSSSSSSSS" + std::string(24, '.') + "SS", split);
}

// Without subtitles the command is as it always was; picture subtitles add -sn only where
// an output would cut them; text adds -sn and its graph in quotes.
TEST(BuildPlayerCommand, SubtitlesChangeOnlyTheFilter)
{
    const auto command = [](int nOrg, int nStout, const SubtitleDrawing *subtitles) {
        char out[kCommandSize];
        EXPECT_TRUE(BuildPlayerCommand(PlayerSettingsRecord{0, nOrg, 2, nStout, 0, 0},
                                       "C:\\ffplay.exe", "D:\\m.mkv", 640, 360, TableString, out,
                                       sizeof out, "", nullptr, subtitles));
        return std::string(out);
    };
    const SubtitleDrawing pictures = Drawing(nullptr, 0, 3);
    EXPECT_EQ(command(0, 17, nullptr), command(0, 17, &pictures));
    EXPECT_EQ(command(1, 2, nullptr), command(1, 2, &pictures));
    EXPECT_EQ("\"C:\\ffplay.exe\"   -sn -vf stereo3d=sbs2l:hdmi -x 640 -y 360 \"D:\\m.mkv\"",
              command(0, 32, &pictures));
    const SubtitleDrawing text = Drawing("D:\\m.mkv", 1, 0);
    EXPECT_EQ("\"C:\\ffplay.exe\"   -sn -vf \"subtitles=filename=D\\\\:\\\\\\\\m.mkv:si=1\" -x 640 "
              "-y 360 \"D:\\m.mkv\"",
              command(1, 17, &text));
    EXPECT_EQ("\"C:\\ffplay.exe\"   -sn -vf \"" + Graph(kHalfSbsParallel, 17, &text) +
                  "\" -x 640 -y 360 \"D:\\m.mkv\"",
              command(0, 17, &text));
}

// Every path at 511 characters of four escaped bytes each, the longest style, stream
// and frame: every input layout at every depth fits the graph's bound, the command fits
// its buffer and its script text would fit its own, but cmd.exe's line limit refuses it.
TEST(BuildPlayerCommand, LongestSubtitlesFitTheirBounds)
{
    const std::string path(kPathSize - 1, '\''), style(kForceStyleSize - 1, '\'');
    const std::string prefixText(kLongestGraphPrefix, 'v');
    SubtitleDrawing drawing{path.c_str(),      INT_MAX,           path.c_str(), style.c_str(), 0,
                            kLargestFrameSide, kLargestFrameSide, NoLeadBytes};
    SubtitleDrawing shortest = Drawing("s", INT_MAX, 0, kLargestFrameSide, kLargestFrameSide);
    for (int input = 0; input < kAutoInputLayout; ++input)
        for (int depth : {0, kSubtitleDepthLimit, -kSubtitleDepthLimit}) {
            drawing.depth = shortest.depth = depth;
            const GraphPrefix prefix{prefixText.c_str(), input};
            EXPECT_LE(Graph(0, 32, &drawing, &prefix).size(), kLongestPlayerGraph);
            // The text around the drawings, with the prefix's comma.
            std::string frame = "," + Graph(0, 32, &shortest, &prefix).substr(prefixText.size());
            for (size_t at; (at = frame.find("subtitles=")) != std::string::npos;)
                frame.erase(at, frame.find_first_of(",[;", at) - at);
            EXPECT_LE(frame.size(), kLongestStageFrame) << frame;
        }

    const std::string player(kPathSize - 1, '%');
    char command[kCommandSize];
    ASSERT_TRUE(BuildPlayerCommand(PlayerSettingsRecord{1, 0, 6, 32, 2, 1}, player.c_str(),
                                   player.c_str(), LONG_MIN / 2, INT32_MIN, TableString, command,
                                   sizeof command, "-view_ids -1 -noframedrop", nullptr, &drawing));
    const size_t percents =
        static_cast<size_t>(std::count(command, command + strlen(command), '%'));
    EXPECT_LT(strlen(command) + percents + strlen("\npause"), kScriptTextSize);
    char script[kScriptTextSize];
    EXPECT_FALSE(BuildLaunchScript(PlayerSettingsRecord{}, command, script, sizeof script));
    const std::string longest(kLongestScriptLine, 'x');
    EXPECT_TRUE(BuildLaunchScript(PlayerSettingsRecord{}, longest.c_str(), script, sizeof script));
    EXPECT_FALSE(
        BuildLaunchScript(PlayerSettingsRecord{}, (longest + "%").c_str(), script, sizeof script));
}
