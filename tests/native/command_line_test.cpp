#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/paths.h"

namespace {

// The media path taken from `tail` into a 512-byte buffer, as the program does.
std::string PathFrom(const std::string &tail, bool *fits = nullptr)
{
    char dest[512];
    memset(dest, 'x', sizeof dest);
    bool ok = MediaPathFromCommandLine(dest, sizeof dest, tail.c_str());
    if (fits)
        *fits = ok;
    return dest;
}

} // namespace

TEST(MediaPathFromCommandLine, UnquotedTextIsTakenWhole)
{
    bool fits = false;
    EXPECT_EQ("", PathFrom("", &fits));
    EXPECT_TRUE(fits);
    // Blanks inside and after the text stay: several words are one path.
    EXPECT_EQ("C:\\My Videos\\a.mp4  ", PathFrom("C:\\My Videos\\a.mp4  "));
    // A quote that does not lead the text is kept as it is.
    EXPECT_EQ("C:\\a \"b\".mp4", PathFrom("C:\\a \"b\".mp4"));
    EXPECT_EQ(" \"C:\\a.mp4\"", PathFrom(" \"C:\\a.mp4\""));
}

TEST(MediaPathFromCommandLine, LeadingQuoteTakesTheTextUpToTheNextQuote)
{
    EXPECT_EQ("C:\\My Videos\\a.mp4", PathFrom("\"C:\\My Videos\\a.mp4\""));
    // What follows the closing quote is dropped.
    EXPECT_EQ("C:\\a b.mp4", PathFrom("\"C:\\a b.mp4\" C:\\other.mp4"));
    // Without a closing quote the rest of the text is the path.
    EXPECT_EQ("C:\\My Videos\\a.mp4", PathFrom("\"C:\\My Videos\\a.mp4"));
    EXPECT_EQ("", PathFrom("\"\""));
    EXPECT_EQ("", PathFrom("\""));
    // The quotes do not count towards the path's length: "a.mp4" in quotes is five.
    EXPECT_EQ(5u, PathFrom("\"a.mp4\"").size());
}

TEST(MediaPathFromCommandLine, PathTooLongForTheBufferIsRefusedNotCut)
{
    bool fits = false;
    const std::string longest(511, 'a');
    EXPECT_EQ(longest, PathFrom(longest, &fits));
    EXPECT_TRUE(fits);
    EXPECT_EQ("", PathFrom(longest + "b", &fits));
    EXPECT_FALSE(fits);
    // In quotes, only the text between them has to fit.
    EXPECT_EQ(longest, PathFrom("\"" + longest + "\"", &fits));
    EXPECT_TRUE(fits);
    EXPECT_EQ("", PathFrom("\"" + longest + "b\"", &fits));
    EXPECT_FALSE(fits);
    EXPECT_EQ("", PathFrom("\"" + longest + "b", &fits));
    EXPECT_FALSE(fits);
}

TEST(MediaPathFromCommandLine, SmallBufferKeepsItsBound)
{
    char dest[6] = "zzzzz";
    EXPECT_TRUE(MediaPathFromCommandLine(dest, sizeof dest, "ab.mp"));
    EXPECT_STREQ("ab.mp", dest);
    // One character more does not fit with its terminator (the sanitizers watch the bound).
    EXPECT_FALSE(MediaPathFromCommandLine(dest, sizeof dest, "ab.mp4"));
    EXPECT_STREQ("", dest);
    EXPECT_FALSE(MediaPathFromCommandLine(dest, sizeof dest, "\"ab.mp4\""));
    EXPECT_STREQ("", dest);
}

// The wide command line goes through the same two steps as the narrow one: the tail after
// the program's name, then the path in it.
TEST(CommandLineTail, SkipsTheProgramNameAsTheRuntimeDoesForNarrowAndWideText)
{
    const struct {
        const char *line, *tail, *path;
    } cases[] = {
        {"duoscope.exe C:\\a.mp4", "C:\\a.mp4", "C:\\a.mp4"},
        {"\"C:\\Program Files\\duoscope.exe\"   \"C:\\My Videos\\a.mp4\" x",
         "\"C:\\My Videos\\a.mp4\" x", "C:\\My Videos\\a.mp4"},
        {"\"C:\\a b\\d\"x y.mp4", "y.mp4", "y.mp4"}, // the name goes on after its quotes
        {"C:\\vid\xe9os\\d.exe \t\xe9t\xe9.mp4", "\xe9t\xe9.mp4", "\xe9t\xe9.mp4"},
        {"duoscope.exe", "", ""},
        {"\"C:\\d.exe\"", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_STREQ(c.tail, CommandLineTail(c.line)) << c.line;
        // The same text in wide characters, byte for letter (ISO 8859-1).
        std::wstring wide;
        for (const char *p = c.line; *p; ++p)
            wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
        const wchar_t *tail = CommandLineTail(wide.c_str());
        EXPECT_EQ(strlen(c.tail), wcslen(tail)) << c.line;
        size_t length = 0;
        const wchar_t *path = CommandLinePath(tail, length);
        EXPECT_EQ(strlen(c.path), length) << c.line;
        EXPECT_EQ(PathFrom(c.tail),
                  PathFrom(std::string(c.line + (tail - wide.c_str()) + (path - tail), length)))
            << c.line;
    }
}
