#include "subtitles/subtitle_choice.h"

#include <cstring>
#include <initializer_list>

#include "common/text.h"

namespace {

bool SameFolded(const char *a, const char *b)
{
    auto folded = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; };
    for (; *a != '\0' && folded(*a) == folded(*b); ++a, ++b) {
    }
    return *a == '\0' && *b == '\0';
}

// The track list's index of the subtitle stream `subtitleIndex` of one of `kinds`, or -1.
int SubtitleTrack(const TrackList &tracks, int subtitleIndex, TrackKind kind)
{
    for (int i = 0; i < tracks.count; ++i)
        if (tracks.tracks[i].kind == kind && tracks.tracks[i].kindIndex == subtitleIndex)
            return i;
    return -1;
}

// The pick, where it still names something of the lists.
bool ChoiceOfPick(const SideFileList &sideFiles, const TrackList &tracks, const SubtitlePick &pick,
                  SubtitleChoice &choice)
{
    choice = SubtitleChoice{pick.source, -1, -1, true};
    switch (pick.source) {
    case SubtitleSource::Off:
        return true;
    case SubtitleSource::SideFile:
        for (int i = 0; i < sideFiles.count; ++i)
            if (strcmp(sideFiles.files[i].name, pick.sideFile) == 0)
                choice.sideFile = i;
        return choice.sideFile >= 0;
    case SubtitleSource::TextTrack:
        choice.track = SubtitleTrack(tracks, pick.subtitleIndex, TrackKind::TextSubtitle);
        return choice.track >= 0;
    case SubtitleSource::PictureTrack:
        choice.track = SubtitleTrack(tracks, pick.subtitleIndex, TrackKind::PictureSubtitle);
        return choice.track >= 0;
    }
    return false;
}

// A codec's name as the menu shows it: the common audio codecs by their own names,
// every PCM kind as PCM, any other as ffprobe names it.
const char *CodecText(const char *codec)
{
    struct Name {
        const char *codec;
        const char *text;
    };
    static constexpr Name kNames[] = {
        {"aac", "AAC"},       {"ac3", "AC-3"},  {"eac3", "E-AC-3"}, {"dts", "DTS"},
        {"truehd", "TrueHD"}, {"mlp", "MLP"},   {"opus", "Opus"},   {"vorbis", "Vorbis"},
        {"flac", "FLAC"},     {"mp3", "MP3"},   {"mp2", "MP2"},     {"mp1", "MP1"},
        {"alac", "ALAC"},     {"wmav1", "WMA"}, {"wmav2", "WMA"},   {"wmapro", "WMA Pro"},
    };
    for (const Name &name : kNames)
        if (strcmp(codec, name.codec) == 0)
            return name.text;
    return strncmp(codec, "pcm_", 4) == 0 ? "PCM" : codec;
}

// The label's pieces, with or without the title.
void AppendTrackLabel(TextBuffer &text, const MediaTrack &track, StringLookup lookup,
                      unsigned firstId, bool withTitle)
{
    auto piece = [&](unsigned id) { return lookup(firstId + id); };
    const char *language =
        track.language.named >= 0
            ? piece(kTextLanguageFirst + static_cast<unsigned>(track.language.named))
            : track.language.key;
    const bool title = withTitle && track.title[0] != '\0' && !SameFolded(track.title, language);
    const bool head = language[0] != '\0' || title;
    if (!head) {
        AppendText(text, piece(kTextTrack));
        AppendText(text, " ");
        AppendNumber(text, track.kindIndex + 1);
    }
    AppendText(text, language);
    if (title) {
        if (language[0] != '\0')
            AppendText(text, piece(kTextTitleBefore));
        AppendText(text, track.title);
    }
    if (track.kind == TrackKind::Audio) {
        AppendText(text, piece(kTextDetail));
        AppendText(text, CodecText(track.codec));
        if (track.channels > 0)
            AppendText(text, " ");
        if (track.channels == 1) {
            AppendText(text, piece(kTextMono));
        } else if (track.channels == 2) {
            AppendText(text, piece(kTextStereo));
        } else if (track.channels == 6 || track.channels == 8) {
            AppendText(text, track.channels == 6 ? "5.1" : "7.1");
        } else if (track.channels > 0) {
            AppendNumber(text, track.channels);
            AppendText(text, piece(kTextChannels));
        }
    } else {
        if (track.forced) {
            AppendText(text, piece(kTextDetail));
            AppendText(text, piece(kTextForced));
        }
        if (track.kind == TrackKind::PictureSubtitle) {
            AppendText(text, piece(kTextDetail));
            AppendText(text, piece(kTextPicture));
        }
    }
    if (head) {
        AppendText(text, piece(kTextNumberBefore));
        AppendNumber(text, track.kindIndex + 1);
        AppendText(text, piece(kTextNumberAfter));
    }
}

} // namespace

SubtitleChoice ChooseSubtitles(const SideFileList &sideFiles, const TrackList &tracks,
                               const SubtitlePick &pick, bool subtitlesOn,
                               const Language &preferred)
{
    SubtitleChoice choice;
    if (pick.made && ChoiceOfPick(sideFiles, tracks, pick, choice))
        return choice;
    choice = SubtitleChoice{SubtitleSource::Off, -1, -1, false};
    if (!subtitlesOn)
        return choice;
    choice.sideFile = PreferredSideFile(sideFiles, preferred);
    if (choice.sideFile >= 0) {
        choice.source = SubtitleSource::SideFile;
        return choice;
    }
    // A flagged text track: in the user's language (rank 2) before one flagged default
    // (rank 1), before the first flagged forced (rank 0).
    int bestRank = -1;
    for (int i = 0; i < tracks.count; ++i) {
        const MediaTrack &track = tracks.tracks[i];
        if (track.kind != TrackKind::TextSubtitle || !(track.isDefault || track.forced))
            continue;
        const int rank = SameLanguage(track.language, preferred) ? 2 : track.isDefault ? 1 : 0;
        if (rank > bestRank) {
            bestRank = rank;
            choice.track = i;
        }
    }
    if (choice.track >= 0)
        choice.source = SubtitleSource::TextTrack;
    return choice;
}

size_t ComposeTrackLabel(const MediaTrack &track, StringLookup lookup, unsigned firstId, char *out,
                         size_t outSize)
{
    for (bool withTitle : {true, false}) {
        TextBuffer text = StartText(out, outSize);
        AppendTrackLabel(text, track, lookup, firstId, withTitle);
        if (!text.overflow)
            return text.length;
    }
    out[0] = '\0';
    return 0;
}

size_t ComposeSubtitleLabel(const SubtitleChoice &choice, const SideFileList &sideFiles,
                            const TrackList &tracks, StringLookup lookup, unsigned firstId,
                            char *out, size_t outSize)
{
    switch (choice.source) {
    case SubtitleSource::SideFile:
        if (choice.sideFile >= 0 && choice.sideFile < sideFiles.count &&
            CopyText(out, outSize, sideFiles.files[choice.sideFile].name))
            return strlen(out);
        break;
    case SubtitleSource::TextTrack:
    case SubtitleSource::PictureTrack:
        if (choice.track >= 0 && choice.track < tracks.count)
            return ComposeTrackLabel(tracks.tracks[choice.track], lookup, firstId, out, outSize);
        break;
    case SubtitleSource::Off:
        if (CopyText(out, outSize, lookup(firstId + kTextOff)))
            return strlen(out);
        break;
    }
    out[0] = '\0';
    return 0;
}
