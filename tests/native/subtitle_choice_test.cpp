#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/text.h"
#include "res/resource.h"
#include "string_table.h"
#include "subtitles/subtitle_choice.h"

namespace {

bool NoLeadBytes(unsigned char)
{
    return false;
}
bool ShiftJisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The texts of the labels, in TrackText order, as the string table is to hold them.
const char *const kEnglish[kTrackTextCount] = {
    "Off",      "Track",     " (track ",   ")",          " - ",       ", ",         "forced",
    "picture",  "mono",      "stereo",     " channels",  "English",   "French",     "German",
    "Spanish",  "Italian",   "Portuguese", "Dutch",      "Swedish",   "Norwegian",  "Danish",
    "Finnish",  "Icelandic", "Polish",     "Czech",      "Slovak",    "Slovenian",  "Hungarian",
    "Romanian", "Bulgarian", "Croatian",   "Serbian",    "Bosnian",   "Macedonian", "Greek",
    "Russian",  "Ukrainian", "Belarusian", "Estonian",   "Latvian",   "Lithuanian", "Turkish",
    "Arabic",   "Hebrew",    "Persian",    "Hindi",      "Bengali",   "Tamil",      "Telugu",
    "Urdu",     "Thai",      "Vietnamese", "Indonesian", "Malay",     "Tagalog",    "Chinese",
    "Japanese", "Korean",    "Catalan",    "Basque",     "Galician",  "Welsh",      "Irish",
    "Latin",    "Albanian",  "Armenian",   "Georgian",   "Afrikaans", "Swahili"};
constexpr unsigned kFirstId = 900;
const char *English(unsigned id)
{
    return id >= kFirstId && id - kFirstId < kTrackTextCount ? kEnglish[id - kFirstId] : "?";
}

// ffprobe 7.1.5 (built from FFmpeg's source; the Windows player's ffprobe.exe under Wine
// prints the same lines, ending in CR LF) with kTrackListArguments, on clips made by
// Debian's ffmpeg: Matroska with a visually impaired AAC track titled with the
// separator and a backslash, a default 5.1 AC-3 track, an SRT track for the hearing
// impaired and a forced ASS track; MP4 with a default mov_text track; Matroska with a
// default PGS and a DVD track (pictures made from a hand-made .sup), its dispositions
// shortened here. The MP4's as ffprobe.exe writes it to a pipe.
const char kFilm[] =
    "stream|index=0|codec_name=mpeg4|codec_type=video|bit_rate=N/A|disposition:default=0|dispos"
    "ition:forced=0|disposition:hearing_impaired=0|disposition:visual_impaired=0\n"
    "stream|index=1|codec_name=aac|codec_type=audio|sample_rate=44100|channels=1|bit_rate=N/A|d"
    "isposition:default=0|disposition:forced=0|disposition:hearing_impaired=0|disposition:visua"
    "l_impaired=1|tag:language=eng|tag:title=Director \\| Cast\\\\Crew\n"
    "stream|index=2|codec_name=ac3|codec_type=audio|sample_rate=44100|channels=6|bit_rate=44800"
    "0|disposition:default=1|disposition:forced=0|disposition:hearing_impaired=0|disposition:vi"
    "sual_impaired=0|tag:language=fre|tag:title=Fran\xC3\xA7"
    "ais\n"
    "stream|index=3|codec_name=subrip|codec_type=subtitle|bit_rate=N/A|disposition:default=0|di"
    "sposition:forced=0|disposition:hearing_impaired=1|disposition:visual_impaired=0|tag:langua"
    "ge=eng|tag:title=SDH\n"
    "stream|index=4|codec_name=ass|codec_type=subtitle|bit_rate=N/A|disposition:default=0|dispo"
    "sition:forced=1|disposition:hearing_impaired=0|disposition:visual_impaired=0|tag:language="
    "ger\n";
const char kMp4[] =
    "stream|index=0|codec_name=mpeg4|codec_type=video|bit_rate=96934|disposition:default=1|disp"
    "osition:forced=0|disposition:hearing_impaired=0|disposition:visual_impaired=0|tag:language"
    "=und\r\n"
    "stream|index=1|codec_name=aac|codec_type=audio|sample_rate=44100|channels=1|bit_rate=69432"
    "|disposition:default=1|disposition:forced=0|disposition:hearing_impaired=0|disposition:vis"
    "ual_impaired=0|tag:language=und\r\n"
    "stream|index=2|codec_name=mov_text|codec_type=subtitle|bit_rate=167|disposition:default=1|"
    "disposition:forced=0|disposition:hearing_impaired=0|disposition:visual_impaired=0|tag:lang"
    "uage=spa\r\n";
const char kPictures[] =
    "stream|index=0|codec_name=mpeg4|codec_type=video|bit_rate=N/A|disposition:default=0\n"
    "stream|index=1|codec_name=opus|codec_type=audio|sample_rate=48000|channels=1|bit_rate=N/A|"
    "disposition:default=0\n"
    "stream|index=2|codec_name=hdmv_pgs_subtitle|codec_type=subtitle|bit_rate=N/A|disposition:d"
    "efault=1|disposition:forced=0|tag:language=eng\n"
    "stream|index=3|codec_name=dvd_subtitle|codec_type=subtitle|bit_rate=N/A|disposition:defaul"
    "t=0|disposition:forced=0|tag:language=jpn\n";

// A track in one line: kind and kind index, stream, codec, language, title, channels,
// sample rate, bit rate and the flags set.
std::string Describe(const MediaTrack &t)
{
    const char kinds[] = "atpo";
    std::string text = std::string(1, kinds[static_cast<int>(t.kind)]) +
                       std::to_string(t.kindIndex) + " @" + std::to_string(t.stream) + " " +
                       t.codec + " " + t.language.key + " [" + t.title + "] " +
                       std::to_string(t.channels) + " " + std::to_string(t.sampleRate) + " " +
                       std::to_string(t.bitRate);
    for (auto [flag, letter] : {std::pair{t.isDefault, " D"},
                                {t.forced, " F"},
                                {t.hearingImpaired, " H"},
                                {t.visualImpaired, " V"}})
        if (flag)
            text += letter;
    return text;
}

std::vector<std::string> Tracks(const char *output)
{
    TrackList list;
    ParseTrackList(output, list);
    std::vector<std::string> described;
    for (int i = 0; i < list.count; ++i)
        described.push_back(Describe(list.tracks[i]));
    return described;
}

std::string Label(const MediaTrack &track, size_t size = kTrackLabelSize)
{
    char out[kTrackLabelSize];
    const size_t length = ComposeTrackLabel(track, English, kFirstId, out, size);
    EXPECT_EQ(strlen(out), length);
    return out;
}

// An audio stream's line: its flags and bit rate.
std::string AudioLine(int index, bool isDefault, bool impaired, long bitRate, int channels = 2)
{
    return "stream|index=" + std::to_string(index) +
           "|codec_type=audio|codec_name=aac|channels=" + std::to_string(channels) +
           "|sample_rate=48000|bit_rate=" + (bitRate > 0 ? std::to_string(bitRate) : "N/A") +
           "|disposition:default=" + (isDefault ? "1" : "0") +
           "|disposition:hearing_impaired=" + (impaired ? "1" : "0") + "\n";
}

} // namespace

TEST(SideFiles, NamesBesideTheMediaFile)
{
    struct Case {
        const char *media;
        const char *name;
        bool side;
        const char *language;
        bool forced, impaired;
        LeadByteTest isLead = NoLeadBytes;
    } cases[] = {
        {"D:\\Films\\Film.2010.mkv", "Film.2010.srt", true, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "film.2010.SRT", true, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.en.ass", true, "en", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.ENG.ssa", true, "en", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.English.vtt", true, "en", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.fre.srt", true, "fr", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.fra.srt", true, "fr", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.pt-BR.srt", true, "pt", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.zh_Hans.srt", true, "zh", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.es-419.srt", true, "es", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.en.forced.srt", true, "en", true, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.forced.srt", true, "", true, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.en.sdh.srt", true, "en", false, true},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.hi.en.srt", true, "en", false, true},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.hi.srt", true, "hi", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.hi-IN.srt", true, "hi", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.Brazilian.srt", true, "pt", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.yo.srt", true, "yo", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.Part2.srt", false, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.en.fr.srt", false, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.tlh.srt", false, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010..srt", false, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.en.txt", false, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010.srt.bak", false, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.srt", false, "", false, false},
        {"D:\\Films\\Film.2010.mkv", "Film.2010srt", false, "", false, false},
        {"clip", "clip.srt", true, "", false, false},
        {"C:\\a\\Film.srt", "film.SRT", false, "", false, false},
        // Shift-JIS: the second byte of a letter is neither a letter nor a backslash.
        {"C:\\\x83\x41.mkv", "\x83\x41.jpn.srt", true, "ja", false, false, ShiftJisLeadByte},
        {"C:\\\x83\x41.mkv", "\x83\x61.srt", false, "", false, false, ShiftJisLeadByte},
        {"C:\\\x83\x41.mkv", "\x83\x61.srt", true, "", false, false, NoLeadBytes},
        {"C:\\x\\\x95\x5c.mkv", "\x95\x5c.srt", true, "", false, false, ShiftJisLeadByte},
        {"C:\\x\\\x95\x5c.mkv", "\x95\x5c.srt", false, "", false, false, NoLeadBytes},
    };
    for (const Case &c : cases) {
        SideFileLabel label{};
        const bool side = ReadSideFileName(c.media, c.name, c.isLead, label);
        EXPECT_EQ(c.side, side) << c.name;
        if (side && c.side) {
            EXPECT_STREQ(c.language, label.language.key) << c.name;
            EXPECT_EQ(c.forced, label.forced) << c.name;
            EXPECT_EQ(c.impaired, label.hearingImpaired) << c.name;
        }
    }
}

// Any set of side files, added in any order, lists by name, and the preferred one is
// the first by (in the user's language and plain, in it, without a language, any).
TEST(SideFiles, ListOrderAndPreference)
{
    const std::vector<std::string> pool = {"Film.srt",    "Film.en.srt", "Film.en.forced.srt",
                                           "Film.fr.srt", "Film.de.srt", "Film.English.sdh.srt",
                                           "FILM.ES.srt", "Film.ass",    "Film.Part2.srt"};
    const unsigned seed = 20261208;
    std::mt19937 random(seed);
    static SideFileList list;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        std::vector<std::string> names = pool;
        std::shuffle(names.begin(), names.end(), random);
        names.resize(random() % (names.size() + 1));
        ClearSideFiles(list);
        for (const std::string &name : names)
            AddSideFile(list, "E:\\Film.mkv", name.c_str(), NoLeadBytes);
        std::vector<std::string> expected;
        for (const std::string &name : names)
            if (name != "Film.Part2.srt")
                expected.push_back(name);
        auto folded = [](std::string s) {
            for (char &c : s)
                c = static_cast<char>(tolower(c));
            return s;
        };
        std::sort(
            expected.begin(), expected.end(),
            [&](const std::string &a, const std::string &b) { return folded(a) < folded(b); });
        ASSERT_EQ(static_cast<int>(expected.size()), list.count);
        for (int i = 0; i < list.count; ++i)
            EXPECT_EQ(expected[i], list.files[i].name);
        const Language english = LanguageOfWord("eng", 3, false);
        auto rank = [&](const std::string &n) {
            const std::string f = folded(n);
            return f == "film.en.srt"                   ? 0
                   : f.rfind("film.en", 0) == 0         ? 1
                   : f == "film.srt" || f == "film.ass" ? 2
                                                        : 3;
        };
        const auto best = std::min_element(expected.begin(), expected.end(),
                                           [&](auto &a, auto &b) { return rank(a) < rank(b); });
        const int preferred = PreferredSideFile(list, english);
        EXPECT_EQ(best == expected.end() ? -1 : best - expected.begin(), preferred);
    }
    // Over the bound the first names by name stay.
    ClearSideFiles(list);
    for (const char *code : {"zu", "yo", "vi", "uk", "tr", "th", "ta", "sv", "sr", "sq",
                             "sl", "sk", "ru", "ro", "pt", "pl", "no", "nl", "ms", "mk",
                             "lv", "lt", "ko", "ja", "it", "is", "id", "hu", "hr", "he"}) {
        const std::string name = std::string("F.") + code + ".srt";
        AddSideFile(list, "F.mkv", name.c_str(), NoLeadBytes);
    }
    EXPECT_EQ(kMaxSideFiles, list.count);
    EXPECT_TRUE(list.more);
    EXPECT_STREQ("F.he.srt", list.files[0].name);
    EXPECT_STREQ("F.ta.srt", list.files[kMaxSideFiles - 1].name);
}

TEST(ParseTrackList, RealOutputs)
{
    EXPECT_EQ((std::vector<std::string>{
                  "a0 @1 aac en [Director | Cast\\Crew] 1 44100 0 V",
                  "a1 @2 ac3 fr [Fran\xC3\xA7"
                  "ais] 6 44100 448000 D",
                  "t0 @3 subrip en [SDH] 0 0 0 H",
                  "t1 @4 ass de [] 0 0 0 F",
              }),
              Tracks(kFilm));
    EXPECT_EQ((std::vector<std::string>{"a0 @1 aac  [] 1 44100 69432 D",
                                        "t0 @2 mov_text es [] 0 0 167 D"}),
              Tracks(kMp4));
    EXPECT_EQ((std::vector<std::string>{"a0 @1 opus  [] 1 48000 0",
                                        "p0 @2 hdmv_pgs_subtitle en [] 0 0 0 D",
                                        "p1 @3 dvd_subtitle ja [] 0 0 0"}),
              Tracks(kPictures));
    // A last line cut short, an index out of its place, nothing at all.
    const std::string film = kFilm;
    EXPECT_EQ(3u, Tracks(film.substr(0, film.size() - 1).c_str()).size());
    std::string gap = film;
    gap.replace(gap.find("index=3"), 7, "index=5");
    EXPECT_EQ(2u, Tracks(gap.c_str()).size());
    TrackList list;
    EXPECT_FALSE(ParseTrackList("", list));
    EXPECT_FALSE(ParseTrackList("format|format_name=matroska\n", list));
    EXPECT_EQ(0, list.count);
    // A title too long for its field is left out, not cut; tracks past the bound are
    // counted, not kept.
    std::string longTitle =
        "stream|index=0|codec_type=audio|tag:title=" + std::string(kTitleSize, 'x') + "\n";
    ASSERT_TRUE(ParseTrackList(longTitle.c_str(), list));
    EXPECT_STREQ("", list.tracks[0].title);
    std::string many;
    for (int i = 0; i < kMaxTracks + 8; ++i)
        many += "stream|index=" + std::to_string(i) +
                "|codec_type=" + (i % 2 ? "audio" : "subtitle") + "\n";
    ASSERT_TRUE(ParseTrackList(many.c_str(), list));
    EXPECT_EQ(kMaxTracks, list.count);
    EXPECT_TRUE(list.more);
    EXPECT_EQ(kMaxTracks / 2 + 4, list.subtitleStreams);
}

TEST(PlayerAudioTrack, WeighsAsAvFindBestStream)
{
    struct Case {
        std::string lines;
        int expected; // index into the list, -1 for none
    } cases[] = {
        {AudioLine(0, false, false, 0) + AudioLine(1, false, false, 0), 0},
        {AudioLine(0, false, false, 0) + AudioLine(1, false, false, 128000), 1},
        {AudioLine(0, true, false, 0) + AudioLine(1, false, false, 128000), 0},
        {AudioLine(0, false, false, 0) + AudioLine(1, true, false, 0), 1},
        {AudioLine(0, true, true, 0) + AudioLine(1, false, false, 128000), 1},
        {AudioLine(0, true, true, 0) + AudioLine(1, false, true, 128000), 0},
        {AudioLine(0, true, false, 0, 0) + AudioLine(1, false, false, 0), 1},
        {AudioLine(0, true, false, 0, 0), -1},
    };
    for (const Case &c : cases) {
        TrackList list;
        ParseTrackList(c.lines.c_str(), list);
        EXPECT_EQ(c.expected, PlayerAudioTrack(list)) << c.lines;
    }
    TrackList film, mp4;
    ParseTrackList(kFilm, film);
    ParseTrackList(kMp4, mp4);
    EXPECT_EQ(1, PlayerAudioTrack(film));
    EXPECT_EQ(2, AudioStreamOption(film, -1)); // pinned: two audio tracks
    EXPECT_EQ(1, AudioStreamOption(film, 1));
    EXPECT_EQ(2, AudioStreamOption(film, 3)); // stream 3 is no audio track
    EXPECT_EQ(-1, AudioStreamOption(mp4, -1));
    EXPECT_EQ(0, ChosenAudioTrack(film, 1));
}

// The string table holds these texts from its first id on, as the program looks them up.
TEST(ComposeTrackLabel, StringTableHoldsThePieces)
{
    for (unsigned i = 0; i < kTrackTextCount; ++i)
        EXPECT_STREQ(kEnglish[i], TableString(IDS_TRACK_TEXT_FIRST + i)) << i;
}

TEST(ComposeTrackLabel, MenuTexts)
{
    TrackList film, pictures, mp4;
    ParseTrackList(kFilm, film);
    ParseTrackList(kPictures, pictures);
    ParseTrackList(kMp4, mp4);
    EXPECT_EQ("English - Director | Cast\\Crew, AAC mono (track 1)", Label(film.tracks[0]));
    EXPECT_EQ("French - Fran\xC3\xA7"
              "ais, AC-3 5.1 (track 2)",
              Label(film.tracks[1]));
    EXPECT_EQ("English - SDH (track 1)", Label(film.tracks[2]));
    EXPECT_EQ("German, forced (track 2)", Label(film.tracks[3]));
    EXPECT_EQ("Track 1, Opus mono", Label(pictures.tracks[0]));
    EXPECT_EQ("English, picture (track 1)", Label(pictures.tracks[1]));
    EXPECT_EQ("Spanish (track 1)", Label(mp4.tracks[1]));
    MediaTrack track = film.tracks[0];
    track.channels = 3;
    track.language = LanguageOfTag("tlh");
    CopyText(track.codec, sizeof track.codec, "pcm_s24le");
    EXPECT_EQ("tlh - Director | Cast\\Crew, PCM 3 channels (track 1)", Label(track));
    EXPECT_EQ("tlh, PCM 3 channels (track 1)", Label(track, 40)); // the title left out
    EXPECT_EQ("", Label(track, 10));
    CopyText(track.title, sizeof track.title, "TLH");
    EXPECT_EQ("tlh, PCM 3 channels (track 1)", Label(track)); // a title that repeats it
}

TEST(ChooseSubtitles, Rule)
{
    // Flagged text tracks: French forced, English default, German default.
    const char kFlagged[] =
        "stream|index=0|codec_type=subtitle|codec_name=subrip|disposition:forced=1|tag:language="
        "fre\n"
        "stream|index=1|codec_type=subtitle|codec_name=subrip|disposition:default=1|tag:language="
        "eng\n"
        "stream|index=2|codec_type=subtitle|codec_name=ass|disposition:default=1|tag:language=ger\n"
        "stream|index=3|codec_type=subtitle|codec_name=subrip|tag:language=ita\n";
    struct Case {
        std::vector<const char *> sides;
        const char *tracks;
        SubtitlePick pick;
        bool on;
        const char *preferred;
        const char *expected;
        bool picked; // the pick, still valid, decided
    };
    const SubtitlePick none{};
    auto pickSide = [](const char *name) {
        SubtitlePick pick{true, SubtitleSource::SideFile, "", 0};
        CopyText(pick.sideFile, sizeof pick.sideFile, name);
        return pick;
    };
    auto pickTrack = [](SubtitleSource source, int index) {
        return SubtitlePick{true, source, "", index};
    };
    const Case cases[] = {
        {{}, kFilm, none, true, "en", "German, forced (track 2)", false},
        {{"Film.fr.srt", "Film.srt"}, kFilm, none, true, "en", "Film.srt", false},
        {{"Film.fr.srt", "Film.de.srt"}, kFilm, none, true, "fra", "Film.fr.srt", false},
        {{"Film.fr.srt", "Film.de.srt"}, kFilm, none, true, "en", "Film.de.srt", false},
        {{"Film.srt"}, kFilm, none, false, "en", "Off", false},
        {{"Film.srt"},
         kFilm,
         pickTrack(SubtitleSource::TextTrack, 0),
         false,
         "en",
         "English - SDH (track 1)",
         true},
        {{"Film.srt"}, kFilm, pickTrack(SubtitleSource::Off, 0), true, "en", "Off", true},
        {{"Film.srt"}, kFilm, pickSide("Film.it.srt"), true, "en", "Film.srt", false},
        {{"Film.srt", "Film.it.srt"},
         kFilm,
         pickSide("Film.it.srt"),
         true,
         "en",
         "Film.it.srt",
         true},
        {{}, kPictures, none, true, "en", "Off", false},
        {{},
         kPictures,
         pickTrack(SubtitleSource::PictureTrack, 1),
         true,
         "en",
         "Japanese, picture (track 2)",
         true},
        {{}, kPictures, pickTrack(SubtitleSource::TextTrack, 0), true, "en", "Off", false},
        {{}, kMp4, none, true, "en", "Spanish (track 1)", false},
        {{}, kFlagged, none, true, "fr", "French, forced (track 1)", false},
        {{}, kFlagged, none, true, "de", "German (track 3)", false},
        {{}, kFlagged, none, true, "ja", "English (track 2)", false},
        {{},
         kFlagged,
         pickTrack(SubtitleSource::TextTrack, 3),
         true,
         "ja",
         "Italian (track 4)",
         true},
    };
    static SideFileList sides;
    for (const Case &c : cases) {
        ClearSideFiles(sides);
        for (const char *name : c.sides)
            ASSERT_TRUE(AddSideFile(sides, "D:\\Film.mkv", name, NoLeadBytes));
        TrackList tracks;
        ParseTrackList(c.tracks, tracks);
        const Language preferred = LanguageOfWord(c.preferred, strlen(c.preferred), false);
        const SubtitleChoice choice = ChooseSubtitles(sides, tracks, c.pick, c.on, preferred);
        char label[kPathSize];
        ComposeSubtitleLabel(choice, sides, tracks, English, kFirstId, label, sizeof label);
        EXPECT_STREQ(c.expected, label) << c.expected;
        EXPECT_EQ(c.picked, choice.picked) << c.expected;
    }
}
