#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "common/paths.h"
#include "common/text.h"

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
