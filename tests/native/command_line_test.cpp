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

// The wide command line goes through the tail after the program's name, then the path
// in it. Windows' rule ends an unquoted name at a blank whatever its letters (MinGW's
// narrow start-up code ends it at é, as a signed byte); a relative path is then made
// absolute, a fully qualified one keeps every character.
TEST(CommandLineTail, SkipsTheProgramNameByWindowsRuleAndFindsThePath)
{
    const struct {
        const wchar_t *line, *path;
        bool fullyQualified;
    } cases[] = {
        {L"duoscope.exe C:\\a.mp4", L"C:\\a.mp4", true},
        {L"\"C:\\Program Files\\duoscope.exe\"   \"C:\\My Videos\\a.mp4\" x",
         L"C:\\My Videos\\a.mp4", true},
        {L"\"C:\\a b\\d\"x y.mp4", L"y.mp4", false}, // the name goes on after its quotes
        {L"C:\\Vid\u00e9o\\duoscope.exe C:\\clips\\clip.mp4", L"C:\\clips\\clip.mp4", true},
        {L"C:\\\u6620\u753b\\d.exe \t\u00e9t\u00e9.mp4", L"\u00e9t\u00e9.mp4", false},
        {L"C:\\Vid\u00e9o\\duoscope.exe", L"", false},
        {L"\"C:\\d.exe\"", L"", false},
        {L"d.exe \\\\server\\share\\a.mp4", L"\\\\server\\share\\a.mp4", true},
        {L"d.exe C:/clips/a.mp4", L"C:/clips/a.mp4", true},
        {L"d.exe C:a.mp4", L"C:a.mp4", false},
        {L"d.exe \\clips\\a.mp4", L"\\clips\\a.mp4", false},
        {L"d.exe ..\\a.mp4", L"..\\a.mp4", false},
    };
    for (const auto &c : cases) {
        wchar_t path[512];
        ASSERT_TRUE(MediaPathFromCommandLine(path, 512, CommandLineTail(c.line)));
        EXPECT_STREQ(c.path, path);
        EXPECT_EQ(c.fullyQualified, IsFullyQualifiedPath(path)) << c.path;
    }
}

// Whether a name reaches the player, and in which form: the name itself where the ANSI
// code page holds it and it fits, else a short form that serves, else the reason.
TEST(ChooseAnsiForm, WholeNameFirstThenShortFormElseWhyNot)
{
    const struct {
        bool holdsLetters, wholeFits, shortFits;
        AnsiForm form;
    } cases[] = {
        {true, true, false, AnsiForm::Whole},     {true, true, true, AnsiForm::Whole},
        {true, false, true, AnsiForm::Short},     {false, false, true, AnsiForm::Short},
        {false, true, true, AnsiForm::Short},     {true, false, false, AnsiForm::TooLong},
        {false, false, false, AnsiForm::Lacking}, {false, true, false, AnsiForm::Lacking},
    };
    for (const auto &c : cases) {
        const AnsiForm form = ChooseAnsiForm(c.holdsLetters, c.wholeFits, c.shortFits);
        EXPECT_EQ(c.form, form) << c.holdsLetters << c.wholeFits << c.shortFits;
        EXPECT_EQ(c.form == AnsiForm::Whole || c.form == AnsiForm::Short, FormPasses(form));
    }
}
