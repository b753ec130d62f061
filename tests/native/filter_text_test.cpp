#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "common/filter_text.h"
#include "tests/ffmpeg_token.h"

namespace {

bool NoLeadBytes(unsigned char)
{
    return false;
}
bool ShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The value of `filename` as the player reads it from "-vf subtitles=filename=V:si=0[l]":
// the graph's round, then the option's; `rest` gets what followed the value.
std::string ReadBack(const std::string &escaped, std::string &rest)
{
    const std::string graph = "subtitles=filename=" + escaped + ":si=0[l]";
    const char *p = graph.c_str() + strlen("subtitles=");
    const std::string arguments = Token(p, "[],;");
    rest = p;
    const char *q = arguments.c_str() + strlen("filename=");
    std::string value = Token(q, ":");
    rest = std::string(q) + rest;
    return value;
}

std::string Escaped(const char *value, LeadByteTest isLeadByte = NoLeadBytes)
{
    char out[FilterValueSize(256)];
    TextBuffer text = StartText(out, sizeof out);
    return AppendFilterValue(text, value, isLeadByte) ? out : "(refused)";
}

} // namespace

// Names of the kinds users have, and names made of every character either round
// treats apart: each must come back whole from both rounds, and the filter's own
// options after it must stay as they were.
TEST(FilterValue, EveryNameSurvivesBothRounds)
{
    const char *names[] = {
        "C:\\v\\a.srt",
        "D:\\V\xe9\xdf\\100% off %PATH% & ^ ! ( ) x.mkv",
        "\\\\server\\share\\it's [3D], a; b=c.ass",
        " leading and trailing ",
        "C:\\dir\\",
    };
    for (const char *name : names) {
        std::string rest;
        EXPECT_EQ(name, ReadBack(Escaped(name), rest)) << Escaped(name);
        EXPECT_EQ(":si=0[l]", rest) << name;
    }
    const char alphabet[] = "\\':=[],; %&^!()aZ.\xe9";
    std::mt19937 random(20261208);
    for (int round = 0; round < 2000; ++round) {
        std::string name;
        const size_t length = 1 + random() % 24;
        for (size_t i = 0; i < length; ++i)
            name += alphabet[random() % (sizeof alphabet - 1)];
        std::string rest;
        ASSERT_EQ(name, ReadBack(Escaped(name.c_str()), rest)) << "seed 20261208, round " << round;
        ASSERT_EQ(":si=0[l]", rest) << name;
    }
}

// C:\ソ\a.srt in code page 932: ソ is 83 5C, whose 5C is no backslash; it stays as it
// is (the player reads the name in wide characters, where no backslash is left).
TEST(FilterValue, DoubleByteLettersPassUnchanged)
{
    EXPECT_EQ("C\\\\:\\\\\\\\\x83\x5C\\\\\\\\a.srt",
              Escaped("C:\\\x83\x5C\\a.srt", ShiftJisLeadByte));
    EXPECT_EQ("C\\\\:\\\\\\\\\x83\\\\\\\\\\\\\\\\a.srt",
              Escaped("C:\\\x83\x5C\\a.srt", NoLeadBytes));
}

// A double quote or a control character cannot stand in the player's quoted argument;
// a value that does not fit is refused, not cut.
TEST(FilterValue, RefusesQuotesControlsAndOverflow)
{
    EXPECT_EQ("(refused)", Escaped("C:\\a\"b.srt"));
    EXPECT_EQ("(refused)", Escaped("C:\\a\nb.srt"));
    char small[8];
    TextBuffer text = StartText(small, sizeof small);
    EXPECT_FALSE(AppendFilterValue(text, "C:\\abc", NoLeadBytes));
    EXPECT_TRUE(text.overflow);
}
