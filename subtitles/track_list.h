// A media file's audio and subtitle tracks as ffprobe lists them from the file's headers:
// the command's arguments, the reader of its answer, and which audio track the player
// takes by itself. Text in, a record out. Portable.
#ifndef DUOSCOPE_SUBTITLES_TRACK_LIST_H
#define DUOSCOPE_SUBTITLES_TRACK_LIST_H

#include <cstddef>

#include "common/path_size.h"
#include "subtitles/languages.h"

// What ffprobe is asked, in its compact output form: one line per stream, every stream
// (video and attachments too, so that the indexes count), with its index, kind and
// codec, an audio stream's channels, sample rate and bit rate, the language and title
// tags and the dispositions the player weighs. No packet or frame is read beyond what
// opening the file reads. The media path follows, in quotes.
constexpr const char kTrackListArguments[] =
    "-v error -show_entries stream=index,codec_type,codec_name,channels,sample_rate,bit_rate:"
    "stream_tags=language,title:stream_disposition=default,forced,hearing_impaired,"
    "visual_impaired -of compact";

// Longest track-list command: both paths at 511 characters, their quotes and blanks.
constexpr size_t kTrackListCommandSize = sizeof kTrackListArguments + 2 * (kPathSize - 1) + 6;

// The command line that lists a media file's tracks (kTrackListArguments), in `out`: the
// quoted program, the arguments and the quoted media path. Returns false, with `out`
// empty, when a path could break its quotes (PathBreaksQuotes) or the line does not fit.
bool BuildTrackListCommand(const char *probeExe, const char *mediaFile, char *out, size_t outSize);

// What a track is to the program.
enum class TrackKind {
    Audio,
    TextSubtitle,    // SubRip, ASS/SSA, WebVTT, MP4 timed text, plain text: the subtitles
                     // filter draws it, and its packets can become a side file
    PictureSubtitle, // PGS, DVD, DVB, XSUB bitmaps: ffplay draws these itself (-sst)
    OtherSubtitle,   // any other subtitle codec (closed captions, teletext): neither
};

constexpr int kMaxTracks = 32;
constexpr size_t kCodecNameSize = 32;
constexpr size_t kLanguageTagSize = 16;
constexpr size_t kTitleSize = 128;

struct MediaTrack {
    TrackKind kind;
    int stream;                 // the stream's index in the file: ffplay's -ast N and -sst N
    int kindIndex;              // its index among the file's audio streams, or among its subtitle
                                // streams of every kind: ffprobe's a:N and s:N, the subtitles
                                // filter's si
    char codec[kCodecNameSize]; // ffprobe's codec_name ("ac3", "subrip")
    char languageTag[kLanguageTagSize]; // the language tag as the file has it
    Language language;                  // what the tag names (LanguageOfTag)
    char title[kTitleSize];             // the title tag, UTF-8 as ffprobe gives it
    int channels;                       // audio: 0 when not given
    long sampleRate;                    // audio: 0 when not given
    long bitRate;                       // 0 when not given ("N/A")
    bool isDefault;
    bool forced;
    bool hearingImpaired;
    bool visualImpaired;
};

struct TrackList {
    MediaTrack tracks[kMaxTracks]; // the audio and subtitle streams in stream order
    int count;
    int audioStreams;    // all of the file's audio streams, kept or not
    int subtitleStreams; // all of its subtitle streams, kept or not
    bool more;           // audio or subtitle streams beyond kMaxTracks were passed over
    bool read;           // ffprobe described at least one stream
};

// Reads ffprobe's output (kTrackListArguments) into `list`. Only whole lines count (a
// line cut at the end of the text is passed over); lines of other sections and fields
// it does not know are passed over; a field's escapes are undone and control characters
// in a tag become blanks. A tag that does not fit its field is left out whole, never cut.
// The stream indexes must run 0, 1, 2...: where one does not, reading stops there, as
// the kind indexes after it could not be trusted. Returns list.read: false, with an
// empty list, when no stream was described.
bool ParseTrackList(const char *text, TrackList &list);

// The audio track ffplay takes when it is given no -ast: its av_find_best_stream, over the
// audio streams with channels and a sample rate, takes the one whose disposition weighs
// most (1 for not being marked for the hearing or visually impaired, 1 for default),
// then the one whose probe read more frames (up to 5: not in ffprobe's answer, taken as
// equal: FFmpeg 7.1 read one of each audio stream of the Matroska clips tried, and the
// Windows player's ffplay.exe took AC-3 at 192 kb/s over AAC without a bit rate in either
// order, where Debian's ffplay 5.1 took the AAC), then the higher bit rate, and
// among equals the first (ffplay's later tie-break on frames read is not known here).
// An index into list.tracks, or -1 for none.
int PlayerAudioTrack(const TrackList &list);

// The audio track that plays: the user's pick (`pickedStream`, a stream index, -1 for
// none) when it is one of the list's audio tracks, otherwise PlayerAudioTrack.
int ChosenAudioTrack(const TrackList &list, int pickedStream);

// The stream index to hand the player as `-ast N` (N is a stream specifier; a bare
// number matches the stream with that index), or -1 for no option: the chosen track's
// stream whenever the list has two or more audio tracks, so that the one marked in the
// menu is the one that plays even where ffplay's tie-break could take another.
int AudioStreamOption(const TrackList &list, int pickedStream);

// Which kind a subtitle codec (ffprobe's codec_name) is.
TrackKind SubtitleKindOfCodec(const char *codec);

#endif
