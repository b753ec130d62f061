#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "media/film_entry.h"
#include "media/view_state.h"

namespace {

FilmEntry Entry(const char *path, uint64_t size, uint64_t time, AutoReason reason)
{
    FilmEntry entry{};
    snprintf(entry.path, sizeof entry.path, "%s", path);
    entry.size = size;
    entry.writeTime = time;
    entry.kept = 7;
    entry.choice.layout = kHalfSbsCross;
    entry.choice.reason = reason;
    entry.choice.stereo = StereoKind::SideBySide;
    entry.choice.inverted = true;
    entry.choice.width = 1920;
    entry.choice.height = 1080;
    return entry;
}

std::string Text(const FilmEntry &entry)
{
    char out[kFilmEntryTextSize];
    EXPECT_TRUE(FormatFilmEntry(entry, out));
    return out;
}

} // namespace

// A film kept and read back is the same film and choice; it holds only for the same file
// as it was; and the name it is kept under follows the path alone.
TEST(FilmEntry, KeptAndReadBackHoldsForTheSameFileOnly)
{
    FilmEntry tagged = Entry("C:\\v\\a sbs.mp4", 1, 2, AutoReason::TagFrame);
    memcpy(tagged.choice.tag, "sbs", 4);
    FilmEntry photo = Entry("D:\\\x83\x5C|x.mpo", UINT64_MAX, 0, AutoReason::Photo);
    photo.choice.options = kAutoOptions[kPhotoOptions];
    FilmEntry sphere = Entry("C:\\v\\a.mkv", 1, 2, AutoReason::Sphere);
    sphere.choice.layout = kVr180Sbs;
    sphere.choice.sphere = Sphere::HalfEquirectSbs;
    sphere.choice.lensFov = kDefaultFisheyeLens;
    sphere.choice.viewYaw = -30;
    sphere.choice.viewPitch = 10;
    for (const FilmEntry &entry :
         {Entry("C:\\Videos\\canyon.mp4", 2111903, 133487, AutoReason::Picture), tagged, photo,
          sphere}) {
        const std::string text = Text(entry);
        FilmEntry read;
        ASSERT_TRUE(ParseFilmEntry(text.c_str(), read)) << text;
        EXPECT_EQ(text, Text(read));
        EXPECT_STREQ(entry.choice.options, read.choice.options) << text;
        EXPECT_TRUE(read.choice.sphere == entry.choice.sphere &&
                    read.choice.viewYaw == entry.choice.viewYaw &&
                    read.choice.viewPitch == entry.choice.viewPitch)
            << text;
        EXPECT_TRUE(FilmEntryHolds(read, entry.path, entry.size, entry.writeTime));
        EXPECT_FALSE(FilmEntryHolds(read, entry.path, entry.size + 1, entry.writeTime));
        EXPECT_FALSE(FilmEntryHolds(read, entry.path, entry.size, entry.writeTime + 1));
        EXPECT_FALSE(FilmEntryHolds(read, "C:\\other.mp4", entry.size, entry.writeTime));
    }
    char a[kFilmEntryNameSize], b[kFilmEntryNameSize], c[kFilmEntryNameSize];
    FilmEntryName("C:\\v\\a.mp4", a);
    FilmEntryName("C:\\v\\a.mp4", b);
    FilmEntryName("C:\\v\\b.mp4", c);
    EXPECT_STREQ(a, b);
    EXPECT_STRNE(a, c);
    EXPECT_EQ(16u, strlen(a));
}

// Anything but exactly what would be written is not trusted: a good entry, cut or changed
// at a seeded random place, reads as no entry unless it is still exactly an entry's text
// (a path cut short names another file, for which it does not hold); and a table of
// entries that other hands or versions wrote.
TEST(FilmEntry, AnythingElseIsNotTrusted)
{
    const std::string good = Text(Entry("C:\\v\\a.mp4", 10, 20, AutoReason::Metadata));
    const char *const bad[] = {
        "",
        "duoscope-film 2|7|10|20|3|0|0|2|2|1|1920|1080|0||C:\\v\\a.mp4",
        "duoscope-film 1|7|10|20|14|0|0|2|2|1|1920|1080|0||C:\\v\\a.mp4", // Auto's own index
        "duoscope-film 1|7|10|20|3|2|0|2|2|1|1920|1080|0||C:\\v\\a.mp4",  // not a flag
        "duoscope-film 1|7|10|20|3|0|3|2|2|1|1920|1080|0||C:\\v\\a.mp4",  // no such options
        "duoscope-film 1|7|10|20|3|0|0|10|2|1|1920|1080|0||C:\\v\\a.mp4", // "not read"
        "duoscope-film 1|7|10|20|03|0|0|2|2|1|1920|1080|0||C:\\v\\a.mp4", // not as written
        "duoscope-film 1|7|10|20|-3|0|0|2|2|1|1920|1080|0||C:\\v\\a.mp4",
        "duoscope-film 1|7|10|20|3|0|0|2|2|1|1920|1080|0|HSBS-TOO-LONG|C:\\v\\a.mp4",
        "duoscope-film 1|7|10|20|3|0|0|2|2|1|1920|1080|0||",           // no path
        "duoscope-film 1|7|10|20|3|0|0|2|2|1|1920|1080||C:\\v\\a.mp4", // a field short
        "duoscope-film 1|99999999999999999999|10|20|3|0|0|2|2|1|1|1|0||C:\\a.mp4",
    };
    FilmEntry read;
    for (const char *text : bad)
        EXPECT_FALSE(ParseFilmEntry(text, read)) << text;
    EXPECT_EQ('\0', read.path[0]);
    const unsigned seed = 20261208;
    std::mt19937 random(seed);
    for (int i = 0; i < 2000; ++i) {
        std::string text = good;
        const size_t at = random() % text.size();
        if (random() % 2)
            text.resize(at);
        else
            text[at] = static_cast<char>(random() % 256);
        const bool trusted = ParseFilmEntry(text.c_str(), read);
        EXPECT_EQ(trusted, trusted && Text(read) == text) << "seed " << seed << ": " << text;
    }
}
