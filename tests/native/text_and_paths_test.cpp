#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "common/paths.h"
#include "common/text.h"

TEST(DirectoryOfPath, KeepsEverythingUpToTheLastBackslash)
{
    char dir[64];
    EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "C:\\v\\a.mp4"));
    EXPECT_STREQ("C:\\v\\", dir);
    EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "C:\\v\\"));
    EXPECT_STREQ("C:\\v\\", dir);
    EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "a.mp4"));
    EXPECT_STREQ("a.mp4", dir);
    EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, ""));
    EXPECT_STREQ("", dir);
    // Forward slashes are not separators here.
    EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "C:\\v/w/a.mp4"));
    EXPECT_STREQ("C:\\", dir);
    // Single bytes are scanned: a 0x5C trail byte of a double-byte character counts.
    EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir,
                                "C:\\\x95\x5C"
                                "b.mp4"));
    EXPECT_STREQ("C:\\\x95\x5C", dir);
}

TEST(DirectoryOfPath, RefusesAFolderThatDoesNotFit)
{
    char dir[8];
    memset(dir, 'x', sizeof dir);
    EXPECT_TRUE(DirectoryOfPath(dir, sizeof dir, "C:\\abc\\file-with-a-long-name.mp4"));
    EXPECT_STREQ("C:\\abc\\", dir); // 7 characters and the NUL fill it exactly
    EXPECT_FALSE(DirectoryOfPath(dir, sizeof dir, "C:\\abcd\\f.mp4"));
    EXPECT_STREQ("", dir);
    EXPECT_FALSE(DirectoryOfPath(dir, sizeof dir, "abcdefgh"));
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
