// The subtitles' readers of others' text: names in the media file's folder
// (ReadSideFileName, AddSideFile) and ffprobe's list of tracks (ParseTrackList), and what
// is made of them: the audio track, the choice of subtitles and the menu texts. The
// input's first line is the media path, the lines up to an empty one are names in its
// folder, the rest is ffprobe's answer.
#include <strings.h>

#include "fuzz_support.h"

#include "common/text.h"
#include "subtitles/subtitle_choice.h"

namespace {

const char *Piece(unsigned id)
{
    static char text[16];
    snprintf(text, sizeof text, "<%u>", id);
    return text;
}

void CheckLanguage(const Language &language)
{
    const size_t length = strnlen(language.key, sizeof language.key);
    FUZZ_CHECK(length == 0 || length == 2 || length == 3);
    for (size_t i = 0; i < length; ++i)
        FUZZ_CHECK(language.key[i] >= 'a' && language.key[i] <= 'z');
    FUZZ_CHECK(language.named >= -1 && language.named < kNamedLanguageCount);
    FUZZ_CHECK(length > 0 || language.named == -1);
}

bool Terminated(const char *text, size_t size)
{
    return memchr(text, '\0', size) != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text = TextOf(data, size);
    const size_t mediaEnd = std::min(text.find('\n'), text.size());
    const std::string media = text.substr(0, mediaEnd);
    size_t namesEnd = text.find("\n\n", mediaEnd);
    namesEnd = namesEnd == std::string::npos ? text.size() : namesEnd;
    const std::string output = text.substr(std::min(namesEnd + 2, text.size()));

    static SideFileList sides;
    for (LeadByteTest isLead : {NoLeadBytes, ShiftJisLeadByte}) {
        ClearSideFiles(sides);
        for (size_t p = mediaEnd + 1; p < namesEnd;) {
            const size_t end = std::min(text.find('\n', p), namesEnd);
            const std::string name = text.substr(p, end - p);
            p = end + 1;
            SideFileLabel label;
            if (!ReadSideFileName(media.c_str(), name.c_str(), isLead, label)) {
                FUZZ_CHECK(!AddSideFile(sides, media.c_str(), name.c_str(), isLead));
                continue;
            }
            CheckLanguage(label.language);
            FUZZ_CHECK(name.size() >= 4);
            std::string extension = name.substr(name.size() - 4);
            for (char &c : extension)
                c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            FUZZ_CHECK(extension == ".srt" || extension == ".ass" || extension == ".ssa" ||
                       extension == ".vtt");
            FUZZ_CHECK(label.labelled ||
                       !(label.forced || label.hearingImpaired || label.language.key[0]));
            const bool added = AddSideFile(sides, media.c_str(), name.c_str(), isLead);
            FUZZ_CHECK(added || sides.more || name.size() >= kPathSize);
        }
        FUZZ_CHECK(sides.count >= 0 && sides.count <= kMaxSideFiles);
        for (int i = 0; i + 1 < sides.count; ++i)
            FUZZ_CHECK(strcasecmp(sides.files[i].name, sides.files[i + 1].name) <= 0);
    }

    TrackList tracks;
    const bool read = ParseTrackList(output.c_str(), tracks);
    FUZZ_CHECK(read == tracks.read && tracks.count >= 0 && tracks.count <= kMaxTracks);
    FUZZ_CHECK(read ||
               (tracks.count == 0 && tracks.audioStreams == 0 && tracks.subtitleStreams == 0));
    int audio = 0, subtitles = 0;
    char label[kTrackLabelSize];
    for (int i = 0; i < tracks.count; ++i) {
        const MediaTrack &track = tracks.tracks[i];
        FUZZ_CHECK(i == 0 || track.stream > tracks.tracks[i - 1].stream);
        FUZZ_CHECK(track.kindIndex == (track.kind == TrackKind::Audio ? audio++ : subtitles++));
        FUZZ_CHECK(Terminated(track.codec, sizeof track.codec) &&
                   Terminated(track.title, sizeof track.title) &&
                   Terminated(track.languageTag, sizeof track.languageTag));
        for (const char *field : {track.codec, track.title, track.languageTag})
            for (const char *c = field; *c != '\0'; ++c)
                FUZZ_CHECK(static_cast<unsigned char>(*c) >= 0x20 && *c != 0x7F);
        CheckLanguage(track.language);
        FUZZ_CHECK(track.channels >= 0 && track.sampleRate >= 0 && track.bitRate >= 0);
        const size_t length = ComposeTrackLabel(track, Piece, 1000, label, sizeof label);
        FUZZ_CHECK(length == strlen(label) && length < sizeof label && length > 0);
    }
    FUZZ_CHECK(audio <= tracks.audioStreams && subtitles <= tracks.subtitleStreams);
    const int player = PlayerAudioTrack(tracks);
    FUZZ_CHECK(player == -1 ||
               (player < tracks.count && tracks.tracks[player].kind == TrackKind::Audio));
    const int picked = size > 0 ? data[0] % 40 - 1 : -1;
    const int option = AudioStreamOption(tracks, picked);
    FUZZ_CHECK(option == -1 ||
               (audio >= 2 && tracks.tracks[ChosenAudioTrack(tracks, picked)].stream == option));

    const SubtitleSource sources[] = {SubtitleSource::Off, SubtitleSource::SideFile,
                                      SubtitleSource::TextTrack, SubtitleSource::PictureTrack};
    for (int i = 0; i < 8; ++i) {
        SubtitlePick pick{i < 4, sources[i % 4], "", picked};
        if (sides.count > 0)
            CopyText(pick.sideFile, sizeof pick.sideFile,
                     sides.files[picked < 0 ? 0 : picked % sides.count].name);
        const Language preferred =
            LanguageOfWord(media.c_str(), std::min<size_t>(media.size(), 3), false);
        CheckLanguage(preferred);
        const SubtitleChoice choice = ChooseSubtitles(sides, tracks, pick, i % 2 == 0, preferred);
        FUZZ_CHECK(!choice.picked || (pick.made && choice.source == pick.source));
        switch (choice.source) {
        case SubtitleSource::Off:
            break;
        case SubtitleSource::SideFile:
            FUZZ_CHECK(choice.sideFile >= 0 && choice.sideFile < sides.count);
            break;
        case SubtitleSource::TextTrack:
        case SubtitleSource::PictureTrack:
            FUZZ_CHECK(choice.track >= 0 && choice.track < tracks.count);
            FUZZ_CHECK(tracks.tracks[choice.track].kind ==
                       (choice.source == SubtitleSource::TextTrack ? TrackKind::TextSubtitle
                                                                   : TrackKind::PictureSubtitle));
            FUZZ_CHECK(choice.picked || choice.source == SubtitleSource::TextTrack);
            break;
        }
        char name[kPathSize];
        const size_t length =
            ComposeSubtitleLabel(choice, sides, tracks, Piece, 1000, name, sizeof name);
        FUZZ_CHECK(length == strlen(name) && length > 0);
    }
    return 0;
}
