#include "subtitles/track_list.h"

#include <cstring>

#include "common/paths.h"
#include "common/piece.h"
#include "common/text.h"

namespace {

// A whole decimal number (DecimalOf), 0 where the field gives no number.
long NumberOf(Piece piece)
{
    const long value = DecimalOf(piece);
    return value < 0 ? 0 : value;
}

// A field's value with the compact writer's escapes undone (a backslash before the
// separator, a backslash, or b, f, n, r for those controls), into `out`; control
// characters become blanks. Returns false, with `out` empty, when it does not fit.
bool CopyValue(Piece value, char *out, size_t size)
{
    size_t length = 0;
    for (size_t i = 0; i < value.length; ++i) {
        char c = value.start[i];
        if (c == '\\' && i + 1 < value.length) {
            c = value.start[++i];
            if (c == 'b' || c == 'f' || c == 'n' || c == 'r')
                c = ' ';
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
        if (length + 1 >= size) {
            out[0] = '\0';
            return false;
        }
        out[length++] = c;
    }
    out[length] = '\0';
    return true;
}

// The fields of one stream line, by key.
struct StreamLine {
    long index = -1;
    Piece type{"", 0};
    MediaTrack track{};

    void Field(Piece key, Piece value)
    {
        if (PieceIs(key, "index"))
            index = DecimalOf(value);
        else if (PieceIs(key, "codec_type"))
            type = value;
        else if (PieceIs(key, "codec_name"))
            CopyValue(value, track.codec, sizeof track.codec);
        else if (PieceIs(key, "channels"))
            track.channels = static_cast<int>(NumberOf(value));
        else if (PieceIs(key, "sample_rate"))
            track.sampleRate = NumberOf(value);
        else if (PieceIs(key, "bit_rate"))
            track.bitRate = NumberOf(value);
        else if (PieceIs(key, "disposition:default"))
            track.isDefault = PieceIs(value, "1");
        else if (PieceIs(key, "disposition:forced"))
            track.forced = PieceIs(value, "1");
        else if (PieceIs(key, "disposition:hearing_impaired"))
            track.hearingImpaired = PieceIs(value, "1");
        else if (PieceIs(key, "disposition:visual_impaired"))
            track.visualImpaired = PieceIs(value, "1");
        else if (PieceIs(key, "tag:language"))
            CopyValue(value, track.languageTag, sizeof track.languageTag);
        else if (PieceIs(key, "tag:title"))
            CopyValue(value, track.title, sizeof track.title);
    }
};

// Reads the fields of a line that begins with "stream|". Fields are split at '|' that
// no backslash escapes; a field's key ends at its first '='.
StreamLine ReadStreamLine(Piece line)
{
    StreamLine stream;
    const char *end = line.start + line.length;
    const char *field = line.start;
    for (const char *p = line.start; p <= end; ++p) {
        if (p + 1 < end && *p == '\\') {
            ++p; // the escaped character is the field's own
            continue;
        }
        if (p < end && *p != '|')
            continue;
        const Piece text{field, static_cast<size_t>(p - field)};
        const char *equals = static_cast<const char *>(memchr(text.start, '=', text.length));
        if (field != line.start && equals != nullptr) {
            const Piece key{text.start, static_cast<size_t>(equals - text.start)};
            stream.Field(key, {equals + 1, text.length - key.length - 1});
        }
        field = p + 1;
    }
    return stream;
}

// A stream's weight in av_find_best_stream.
int DispositionWeight(const MediaTrack &track)
{
    return (track.hearingImpaired || track.visualImpaired ? 0 : 1) + (track.isDefault ? 1 : 0);
}

} // namespace

bool BuildTrackListCommand(const char *probeExe, const char *mediaFile, char *out, size_t outSize)
{
    return BuildFileCommand(probeExe, kTrackListArguments, mediaFile, out, outSize);
}

TrackKind SubtitleKindOfCodec(const char *codec)
{
    static constexpr const char *kText[] = {"subrip", "srt",      "ass", "ssa",
                                            "webvtt", "mov_text", "text"};
    static constexpr const char *kPicture[] = {"hdmv_pgs_subtitle", "dvd_subtitle", "dvb_subtitle",
                                               "xsub"};
    for (const char *name : kText)
        if (strcmp(codec, name) == 0)
            return TrackKind::TextSubtitle;
    for (const char *name : kPicture)
        if (strcmp(codec, name) == 0)
            return TrackKind::PictureSubtitle;
    return TrackKind::OtherSubtitle;
}

bool ParseTrackList(const char *text, TrackList &list)
{
    list.count = 0;
    list.audioStreams = 0;
    list.subtitleStreams = 0;
    list.more = false;
    long streams = 0;
    for (const char *p = text; *p != '\0';) {
        const size_t length = strcspn(p, "\r\n");
        const Piece line{p, length};
        p += length;
        if (*p == '\0')
            break; // a line cut short
        p += strspn(p, "\r\n");
        static constexpr char kSection[] = "stream|";
        if (length < sizeof kSection - 1 || memcmp(line.start, kSection, sizeof kSection - 1) != 0)
            continue;
        StreamLine stream = ReadStreamLine(line);
        if (stream.index != streams)
            break;
        ++streams;
        MediaTrack &track = stream.track;
        track.stream = static_cast<int>(stream.index);
        if (PieceIs(stream.type, "audio")) {
            track.kind = TrackKind::Audio;
            track.kindIndex = list.audioStreams++;
        } else if (PieceIs(stream.type, "subtitle")) {
            track.kind = SubtitleKindOfCodec(track.codec);
            track.kindIndex = list.subtitleStreams++;
        } else {
            continue;
        }
        if (list.count == kMaxTracks) {
            list.more = true;
            continue;
        }
        track.language = LanguageOfTag(track.languageTag);
        list.tracks[list.count++] = track;
    }
    list.read = streams > 0;
    if (!list.read)
        list = TrackList{};
    return list.read;
}

int PlayerAudioTrack(const TrackList &list)
{
    int best = -1;
    for (int i = 0; i < list.count; ++i) {
        const MediaTrack &track = list.tracks[i];
        if (track.kind != TrackKind::Audio || track.channels <= 0 || track.sampleRate <= 0)
            continue;
        if (best >= 0) {
            const MediaTrack &chosen = list.tracks[best];
            const int weight = DispositionWeight(track), bestWeight = DispositionWeight(chosen);
            if (weight < bestWeight || (weight == bestWeight && track.bitRate <= chosen.bitRate))
                continue;
        }
        best = i;
    }
    return best;
}

int ChosenAudioTrack(const TrackList &list, int pickedStream)
{
    for (int i = 0; i < list.count; ++i)
        if (list.tracks[i].kind == TrackKind::Audio && list.tracks[i].stream == pickedStream)
            return i;
    return PlayerAudioTrack(list);
}

int AudioStreamOption(const TrackList &list, int pickedStream)
{
    int audio = 0;
    for (int i = 0; i < list.count; ++i)
        audio += list.tracks[i].kind == TrackKind::Audio;
    const int chosen = ChosenAudioTrack(list, pickedStream);
    return audio >= 2 && chosen >= 0 ? list.tracks[chosen].stream : -1;
}
