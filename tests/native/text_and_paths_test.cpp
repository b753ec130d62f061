#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "common/paths.h"
#include "common/text.h"
#include "media/name_layout.h"

namespace {

bool NoLeadBytes(unsigned char)
{
    return false;
}
// The lead bytes of Shift-JIS (code page 932).
bool ShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

} // namespace

TEST(DirectoryOfPath, KeepsEverythingUpToTheLastBackslash)
{
    char dir[64];
    for (LeadByteTest isLead : {NoLeadBytes, ShiftJisLeadByte}) {
        EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "C:\\v\\a.mp4", isLead));
        EXPECT_STREQ("C:\\v\\", dir);
        EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "C:\\v\\", isLead));
        EXPECT_STREQ("C:\\v\\", dir);
        EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "a.mp4", isLead));
        EXPECT_STREQ("a.mp4", dir);
        EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "", isLead));
        EXPECT_STREQ("", dir);
        // Forward slashes are not separators here.
        EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "C:\\v/w/a.mp4", isLead));
        EXPECT_STREQ("C:\\", dir);
    }
    // In a single-byte code page every 0x5C is a backslash.
    EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir,
                                "C:\\\x95\x5C"
                                "b.mp4",
                                NoLeadBytes));
    EXPECT_STREQ("C:\\\x95\x5C", dir);
}

// Shift-JIS letters whose second byte is 0x5C: C:\動画\ソロ 3D.mp4 (ソ is 83 5C) and
// C:\表\a.mp4 (表 is 95 5C). A lead byte at the very end stands alone.
TEST(DirectoryOfPath, DoubleByteLetterEndingIn5CIsNoBackslash)
{
    const struct {
        const char *path, *dir;
    } cases[] = {
        {"C:\\\x93\xAE\x89\xE6\\\x83\x5C\x83\x8D 3D.mp4", "C:\\\x93\xAE\x89\xE6\\"},
        {"C:\\\x95\x5C\\a.mp4", "C:\\\x95\x5C\\"},
        {"C:\\\x95\x5C"
         "b.mp4",
         "C:\\"},
        {"C:\\a\\\x83", "C:\\a\\"},
    };
    char dir[64];
    for (const auto &c : cases) {
        EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, c.path, ShiftJisLeadByte)) << c.path;
        EXPECT_STREQ(c.dir, dir) << c.path;
    }
}

TEST(DirectoryOfPath, RefusesAFolderThatDoesNotFit)
{
    char dir[8];
    memset(dir, 'x', sizeof dir);
    EXPECT_TRUE(
        DirectoryOfPath(dir, sizeof dir, "C:\\abc\\file-with-a-long-name.mp4", NoLeadBytes));
    EXPECT_STREQ("C:\\abc\\", dir); // 7 characters and the NUL fill it exactly
    EXPECT_FALSE(DirectoryOfPath(dir, sizeof dir, "C:\\abcd\\f.mp4", NoLeadBytes));
    EXPECT_STREQ("", dir);
    EXPECT_FALSE(DirectoryOfPath(dir, sizeof dir, "abcdefgh", NoLeadBytes));
    EXPECT_STREQ("", dir);
    // The folder fits, the name beside it does not.
    EXPECT_FALSE(PathBeside(dir, sizeof dir, "C:\\v\\a.mp4", "ffplay.exe", NoLeadBytes));
    EXPECT_STREQ("", dir);
}

TEST(TextBuffer, AppendsWholePiecesOrNothing)
{
    char data[8];
    TextBuffer text = StartText(data, sizeof data);
    AppendText(text, "abc");
    AppendNumber(text, -42);
    EXPECT_STREQ("abc-42", data);
    EXPECT_FALSE(text.overflow);
    AppendText(text, "xy"); // 8 characters would leave no room for the NUL
    EXPECT_TRUE(text.overflow);
    EXPECT_STREQ("abc-42", data);
    AppendText(text, "z"); // nothing more after an overflow
    EXPECT_STREQ("abc-42", data);
    EXPECT_EQ(6u, text.length);
}

TEST(TextBuffer, NumbersPrintAsPercentD)
{
    char data[32];
    const long values[] = {0, 7, -1, 2147483647L, -2147483647L - 1, LONG_MIN};
    for (long value : values) {
        TextBuffer text = StartText(data, sizeof data);
        AppendNumber(text, value);
        char expected[32];
        snprintf(expected, sizeof expected, "%ld", value);
        EXPECT_STREQ(expected, data);
    }
}

TEST(CopyText, CopiesOrLeavesEmpty)
{
    char data[4];
    EXPECT_TRUE(CopyText(data, sizeof data, "abc"));
    EXPECT_STREQ("abc", data);
    EXPECT_FALSE(CopyText(data, sizeof data, "abcd"));
    EXPECT_STREQ("", data);
}

// Names and what they announce: the input layout's index and the text that decided it,
// read as Shift-JIS: the last two hold ソ (83 5C) and ダ (83 5F), whose second bytes are a
// backslash and an underscore.
TEST(LayoutFromFileName, SuffixThenLastWordTagThenExtension)
{
    // clang-format off
    const char *const cases[][2] = {
        {"Movie.2010.3D.HSBS.1080p.mkv", "2 HSBS"}, {"a [Half SBS].mp4", "2 Half SBS"},
        {"a(h_sbs).mp4", "2 h_sbs"}, {"Movie Full SBS.mkv", "0 Full SBS"},
        {"a.FSBS.mp4", "0 FSBS"}, {"Concert 3D H-OU.mp4", "6 H-OU"}, {"a.half.ou.mp4", "6 half.ou"},
        {"a_TAB_.mp4", "6 TAB"}, {"a.F-OU.mp4", "4 F-OU"}, {"a.fulltab.mp4", "4 fulltab"},
        {"holiday-lr.mp4", "0 -lr"}, {"a-rl.mp4", "1 -rl"}, {"a-lrq.mp4", "2 -lrq"},
        {"a-rlh.mp4", "3 -rlh"}, {"a-tb.mp4", "4 -tb"}, {"a-ba.mp4", "5 -ba"},
        {"a-abq.mp4", "6 -abq"}, {"a-bth.mp4", "7 -bth"}, {"photo.jps", "1 .jps"},
        {"a.H-OU.HSBS.mp4", "2 HSBS"}, {"a.HSBS-tb.mp4", "4 -tb"}, {"a.HOU.jps", "6 HOU"},
        {"HOLIDAY-LR.MP4", "0 -LR"}, {"Concert 3D H-OU", "6 H-OU"}, {"absolute.mp4", "0"},
        {"tablet.mp4", "0"}, {"Le Fou.mp4", "0"}, {"\xCAtre ou ne pas \xEAtre.mp4", "0"},
        {"lr.mp4", "0"}, {"a.lr.mp4", "0"}, {"D:\\3D.HSBS\\clip.mp4", "0"},
        {"C:\\3D.HSBS.\x83\x5C.mp4", "2 HSBS"}, {"C:\\\x83\x5FSBS.mp4", "0"},
        // A lead byte before a byte below 0x40 stands alone: what follows it counts.
        {"a\x83-lr.mp4", "0 -lr"}, {"a\x83.jps", "1 .jps"},
    };
    // clang-format on
    for (const auto &c : cases) {
        const NameLayout layout = LayoutFromFileName(c[0], ShiftJisLeadByte);
        std::string found = std::to_string(layout.index);
        if (layout.tag)
            found += " " + std::string(layout.tag, layout.tagLength);
        EXPECT_EQ(c[1], found) << c[0];
    }
}
