#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "subtitles/track_dump.h"
#include "subtitles/track_list.h"

namespace {

// A dump in memory, read in pieces of at most `piece` bytes (random ones with `random`).
struct Source {
    std::string text;
    size_t piece;
    std::mt19937 *random;
    bool fail;
};
size_t ReadSource(void *context, uint64_t offset, char *buffer, size_t size)
{
    Source &source = *static_cast<Source *>(context);
    if (source.fail)
        return kDumpReadFailed;
    size_t piece = source.random ? 1 + (*source.random)() % source.piece : source.piece;
    size =
        std::min({size, piece, source.text.size() - std::min<size_t>(offset, source.text.size())});
    source.text.copy(buffer, size, offset);
    return size;
}
bool WriteString(void *context, const char *data, size_t size)
{
    static_cast<std::string *>(context)->append(data, size);
    return true;
}
bool WriteNothing(void *, const char *, size_t)
{
    return false;
}

struct Converted {
    DumpResult result;
    SideFileForm form;
    std::string text;
};
Converted Convert(const std::string &dump, size_t piece = kDumpWindowSize,
                  std::mt19937 *random = nullptr)
{
    Source source{dump, piece, random, false};
    Converted converted{DumpResult::Broken, SideFileForm::None, ""};
    converted.result = ConvertTrackDump(DumpReader{&source, ReadSource},
                                        DumpWriter{&converted.text, WriteString}, converted.form);
    return converted;
}

// Bytes as ffprobe's -show_data prints them: offset, hex pairs, the bytes as text.
std::string HexDump(const std::string &bytes)
{
    std::string out;
    for (size_t offset = 0; offset < bytes.size(); offset += 16) {
        char line[80];
        int n = snprintf(line, sizeof line, "%08zx: ", offset);
        const size_t count = std::min<size_t>(16, bytes.size() - offset);
        for (size_t i = 0; i < count; ++i)
            n += snprintf(line + n, sizeof line - n, i & 1 ? "%02x " : "%02x",
                          static_cast<unsigned char>(bytes[offset + i]));
        n += snprintf(line + n, sizeof line - n, "%*s",
                      static_cast<int>(41 - 2 * count - count / 2), "");
        for (size_t i = 0; i < count; ++i) {
            const unsigned char c = static_cast<unsigned char>(bytes[offset + i]);
            line[n++] = c >= 32 && c < 127 ? static_cast<char>(c) : '.';
        }
        out += std::string(line, n) + "\n";
    }
    return out;
}
std::string Packet(const char *pts, const char *duration, const std::string &data)
{
    return std::string("[PACKET]\npts_time=") + pts + "\nduration_time=" + duration + "\ndata=\n" +
           HexDump(data) + "\n[/PACKET]\n";
}
std::string Stream(const char *codec, const std::string &extradata = "")
{
    return std::string("[STREAM]\ncodec_name=") + codec + "\nextradata=\n" + HexDump(extradata) +
           "\n[/STREAM]\n";
}

const char kHeader[] = "[Script Info]\nScriptType: v4.00+\n\n[V4+ Styles]\nFormat: Name, Fontname\n"
                       "Style: Default,Arial\n\n[Events]\nFormat: Layer, Start, End, Style, Name, "
                       "MarginL, MarginR, MarginV, Effect, Text\n";

// Runs a shell command; true when it succeeds.
bool Shell(const std::string &command)
{
    return std::system(command.c_str()) == 0;
}
std::string FileText(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

// Packets made by hand, one rule each.
TEST(ConvertTrackDump, Rules)
{
    struct Case {
        std::string dump;
        DumpResult result;
        std::string text;
    } cases[] = {
        // SubRip: CR LF, a NUL and a blank line end the text; a start before 0 is 0.
        {Packet("-0.200000", "1.000000", "One\r\ntwo\r\n\r\ngone") +
             Packet("1.000000", "0.5", std::string("A\0B", 3)) +
             Packet("2.000000", "1.0004", "\n\nhidden") + Stream("subrip"),
         DumpResult::Converted,
         "1\n00:00:00,000 --> 00:00:00,800\nOne\ntwo\n\n2\n00:00:01,000 --> 00:00:01,500\nA\n\n"},
        // Hours past 99, and a cue that ends before 0 is left out.
        {Packet("-3.000000", "1.000000", "early") + Packet("360000.000000", "0.001000", "late") +
             Stream("text"),
         DumpResult::Converted, "1\n100:00:00,000 --> 100:00:00,001\nlate\n\n"},
        // mp4 timed text: the counted text, not the style boxes; a bad count, no cue.
        {Packet("0.000000", "0.500000", std::string("\0\3Hi!\0\0\0\x0cstyl", 13)) +
             Packet("1.000000", "0.5", std::string("\0\x09Hi", 4)) + Stream("mov_text", "\0\0"),
         DumpResult::Converted, "1\n00:00:00,000 --> 00:00:00,500\nHi!\n\n"},
        {Packet("0.000000", "0.500000", std::string("\0\0", 2)) + Stream("mov_text"),
         DumpResult::Empty, ""},
        // ASS: the header around the events; its line ends LF; SSA's Marked; a line end in
        // the text as \N; a packet without its fields left out.
        {Packet("1.005000", "2.000000", "3,0,Default,,0,0,0,,Hi, there\r\nyou\r\n") +
             Packet("4.000000", "1.000000", "4,0,Default") +
             Stream("ass", std::string(kHeader) + "[Fonts]\r\nx"),
         DumpResult::Converted,
         std::string(kHeader) +
             "Dialogue: 0,0:00:01.01,0:00:03.01,Default,,0,0,0,,Hi, there\\Nyou\n[Fonts]\nx\n"},
        {Packet("0.000000", "1.000000", "0,Marked=0,Default,,0,0,0,,Old") +
             Stream("ssa",
                    "\xEF\xBB\xBF[Script Info]\nScriptType: v4.00\n[V4 Styles]\nStyle: Default"),
         DumpResult::Converted,
         "\xEF\xBB\xBF[Script Info]\nScriptType: v4.00\n[V4 Styles]\nStyle: "
         "Default\n[Events]\nFormat: Marked, "
         "Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\nDialogue: "
         "Marked=0,0:00:00.00,"
         "0:00:01.00,Default,,0,0,0,,Old\n"},
        {Stream("ass", kHeader), DumpResult::Converted, kHeader},
        // Not a dump to convert.
        {Stream("ass", "[Script]\n"), DumpResult::Broken, ""},
        {Packet("0.000000", "1.000000", "x") + Stream("hdmv_pgs_subtitle"), DumpResult::Broken, ""},
        {Packet("N/A", "1.000000", "x") + Stream("subrip"), DumpResult::Broken, ""},
        {Packet("0.000000", "N/A", "x") + Stream("subrip"), DumpResult::Broken, ""},
        {Packet("0.000000", "1.000000", "x") + Stream("subrip") + Stream("subrip"),
         DumpResult::Broken, ""},
        {Stream("subrip") + Packet("0.000000", "1.000000", "x"), DumpResult::Broken, ""},
        {Packet("0.000000", "1.000000", std::string(kDumpPacketSize + 1, 'x')) + Stream("subrip"),
         DumpResult::Broken, ""},
        {"", DumpResult::Broken, ""},
    };
    for (const Case &c : cases) {
        const Converted converted = Convert(c.dump);
        EXPECT_EQ(c.result, converted.result) << c.dump;
        EXPECT_EQ(c.text, converted.text) << c.dump;
    }
    Source failing{Packet("0.000000", "1.000000", "x") + Stream("subrip"), 1, nullptr, true};
    std::string text;
    SideFileForm form;
    EXPECT_EQ(DumpResult::ReadFailed, ConvertTrackDump(DumpReader{&failing, ReadSource},
                                                       DumpWriter{&text, WriteString}, form));
    failing.fail = false;
    EXPECT_EQ(DumpResult::WriteFailed, ConvertTrackDump(DumpReader{&failing, ReadSource},
                                                        DumpWriter{&text, WriteNothing}, form));
}

// Real dumps: Debian's ffmpeg puts an SRT, an ASS and a WebVTT track in Matroska and the
// SRT as timed text in MP4; ffprobe dumps each track with the program's arguments
// (Debian's ffprobe 5.1, a native 7.1.5 and the Windows ffprobe.exe under Wine wrote the
// same dumps of these, byte for byte). Each converts to the script
// it came from; read in any pieces it converts the same; cut short anywhere it converts
// to nothing; the side file, dumped and converted again, gives itself; and FFmpeg's
// subtitles filter takes it.
TEST(ConvertTrackDump, RealDumps)
{
    if (!Shell("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null"))
        GTEST_SKIP() << "no ffmpeg and ffprobe";
    char folderTemplate[] = "/tmp/duoscope-dump-XXXXXX";
    const std::string folder = mkdtemp(folderTemplate);
    const std::string srt = "1\n00:00:00,500 --> 00:00:01,500\nHello <i>world</i>\n\n2\n"
                            "00:00:02,000 --> 00:00:03,250\nSecond line\nwith two rows\n\n";
    const std::string ass =
        std::string(kHeader) +
        "Dialogue: 0,0:00:00.50,0:00:01.50,Default,,0,0,0,,Bonjour {\\i1}le monde{\\i0}\n"
        "Dialogue: 1,0:00:02.00,0:00:03.25,Default,Narr,0,0,0,,Panneau, virgule\\NDeux\n";
    std::ofstream(folder + "/in.srt") << srt;
    std::ofstream(folder + "/in.ass") << ass;
    ASSERT_TRUE(Shell("cd " + folder +
                      " && ffmpeg -v error -i in.srt -i in.ass -i in.srt -map 0 -map 1 -map 2 "
                      "-c:s:0 copy -c:s:1 copy -c:s:2 webvtt t.mkv && ffmpeg -v error -i in.srt "
                      "-c:s mov_text t.mp4"));
    auto dump = [&](const std::string &file, int index) {
        const std::string out = folder + "/dump.txt";
        EXPECT_TRUE(Shell("ffprobe " + std::string(kTrackDumpArgumentsBefore) +
                          std::to_string(index) + kTrackDumpArgumentsAfter + " " + out + " " +
                          folder + "/" + file));
        return FileText(out);
    };
    std::string plain = srt;
    plain.replace(plain.find("<i>"), 3, "").replace(plain.find("</i>"), 4, "");
    struct Case {
        const char *file;
        int index;
        SideFileForm form;
        std::string expected;
    } cases[] = {{"t.mkv", 0, SideFileForm::Srt, srt},
                 {"t.mkv", 1, SideFileForm::Ass, ass},
                 {"t.mkv", 2, SideFileForm::Srt, srt},
                 {"t.mp4", 0, SideFileForm::Srt, plain}};
    const unsigned seed = 7;
    std::mt19937 random(seed);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " s:" + std::to_string(c.index) + ", seed 7");
        const std::string text = dump(c.file, c.index);
        const Converted whole = Convert(text);
        ASSERT_EQ(DumpResult::Converted, whole.result);
        EXPECT_EQ(c.form, whole.form);
        EXPECT_EQ(c.expected, whole.text);
        EXPECT_EQ(whole.text, Convert(text, 40, &random).text);
        for (size_t cut = 0; cut < text.size(); cut += 1 + random() % 13) {
            const Converted part = Convert(text.substr(0, cut), 64, &random);
            EXPECT_NE(DumpResult::Converted, part.result) << cut;
            EXPECT_EQ("", part.text) << cut;
        }
        const std::string side = std::string("side") + SideFileExtension(whole.form);
        std::ofstream(folder + "/" + side, std::ios::binary) << whole.text;
        EXPECT_EQ(whole.text, Convert(dump(side, 0)).text);
        EXPECT_TRUE(Shell(
            "cd " + folder +
            " && ffmpeg -v error -xerror -f lavfi -i color=s=64x36:d=4 -vf subtitles=" + side +
            " -f null -"));
    }
    Shell("rm -rf " + folder);
}

TEST(BuildTrackDumpCommand, QuotesEachPath)
{
    char list[kTrackListCommandSize];
    const std::string longest(kPathSize - 1, 'x');
    ASSERT_TRUE(BuildTrackListCommand(longest.c_str(), longest.c_str(), list, sizeof list));
    ASSERT_TRUE(
        BuildTrackListCommand("C:\\d\\ffprobe.exe", "D:\\F\\Film 1.mkv", list, sizeof list));
    EXPECT_EQ("\"C:\\d\\ffprobe.exe\" " + std::string(kTrackListArguments) +
                  " \"D:\\F\\Film 1.mkv\"",
              list);
    EXPECT_FALSE(BuildTrackListCommand("a", "b\\", list, sizeof list));
    char out[kTrackDumpCommandSize];
    ASSERT_TRUE(BuildTrackDumpCommand("C:\\d\\ffprobe.exe", "D:\\F\\Film 1.mkv", 2, "C:\\T\\d.txt",
                                      out, sizeof out));
    EXPECT_STREQ("\"C:\\d\\ffprobe.exe\" -v error -select_streams s:2 -show_data -show_entries "
                 "packet=pts_time,duration_time,data:stream=codec_name,extradata -of default -o "
                 "\"C:\\T\\d.txt\" \"D:\\F\\Film 1.mkv\"",
                 out);
    EXPECT_TRUE(BuildTrackDumpCommand(longest.c_str(), longest.c_str(), 2147483647, longest.c_str(),
                                      out, sizeof out));
    EXPECT_FALSE(BuildTrackDumpCommand("a", "b\"", 0, "c", out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(BuildTrackDumpCommand("a", "b", -1, "c", out, sizeof out));
}

TEST(BuildTrackFileName, OneNamePerFileVersionAndTrack)
{
    auto name = [](const char *media, uint64_t size, uint64_t time, int index,
                   size_t outSize = kPathSize) {
        char out[kPathSize];
        return BuildTrackFileName("C:\\T\\", media, size, time, index, ".srt", out, outSize)
                   ? std::string(out)
                   : "";
    };
    const std::string first = name("D:\\Film.mkv", 1, 2, 3);
    ASSERT_EQ(std::string("C:\\T\\duoscope-track-").size() + 16 + std::string("-s3.srt").size(),
              first.size());
    EXPECT_EQ(0u, first.find("C:\\T\\duoscope-track-"));
    EXPECT_EQ(first, name("d:\\FILM.MKV", 1, 2, 3));
    for (const std::string &other : {name("D:\\Film2.mkv", 1, 2, 3), name("D:\\Film.mkv", 9, 2, 3),
                                     name("D:\\Film.mkv", 1, 9, 3), name("D:\\Film.mkv", 1, 2, 4)})
        EXPECT_NE(first, other);
    EXPECT_EQ("", name("D:\\Film.mkv", 1, 2, 3, first.size()));
    EXPECT_EQ("", name("D:\\Film.mkv", 1, 2, -1));
}
