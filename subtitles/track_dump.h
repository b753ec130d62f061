// An embedded text subtitle track made into a side file: the ffprobe command that dumps
// the track's packets and its header, and the converter of that dump into an .ass or .srt
// file, read and written in pieces through fixed buffers. Portable.
#ifndef DUOSCOPE_SUBTITLES_TRACK_DUMP_H
#define DUOSCOPE_SUBTITLES_TRACK_DUMP_H

#include <cstddef>
#include <cstdint>

#include "common/path_size.h"

// What ffprobe is asked for subtitle stream N (s:N, the subtitles filter's si): each
// packet's time, duration and bytes, then the stream's codec and extradata (the script
// header of an ASS/SSA track), in the default output form, whose -show_data hex dumps are
// lines like xxd's. ffprobe prints the packets first and the stream last. The dump file
// follows -o; the media path comes last.
constexpr const char kTrackDumpArgumentsBefore[] = "-v error -select_streams s:";
constexpr const char kTrackDumpArgumentsAfter[] =
    " -show_data -show_entries packet=pts_time,duration_time,data:stream=codec_name,extradata"
    " -of default -o";

// Longest dump command: the program's, the dump's and the media file's paths (511
// characters each) with their quotes and blanks, and the arguments.
constexpr size_t kTrackDumpCommandSize = 3 * (kPathSize - 1) + 12 +
                                         sizeof kTrackDumpArgumentsBefore + 11 +
                                         sizeof kTrackDumpArgumentsAfter;

// The command line that dumps subtitle stream `subtitleIndex` of `mediaFile` into
// `dumpFile`: the quoted program, the arguments, the quoted dump path and the quoted
// media path. Returns false, with `out` empty, when a path could break its quotes
// (PathBreaksQuotes), the index is negative, or the line does not fit.
bool BuildTrackDumpCommand(const char *probeExe, const char *mediaFile, int subtitleIndex,
                           const char *dumpFile, char *out, size_t outSize);

// The files of a track's side file in the temporary folder `tempFolder` (ending in a
// backslash, as the system gives it): "duoscope-track-", 16 hex digits of a hash of the
// media path (ASCII letters folded), its size and its last write time, "-s", the
// subtitle index, and `extension` (".dump", ".part", ".srt"...). So a side file made once
// serves that version of the file again, in this run and later ones. Returns false, with
// `out` empty, when it does not fit or the index is negative.
bool BuildTrackFileName(const char *tempFolder, const char *mediaPath, uint64_t fileSize,
                        uint64_t writeTime, int subtitleIndex, const char *extension, char *out,
                        size_t outSize);

// The side file's form: ASS for ASS/SSA tracks (the script header, then one Dialogue line
// per packet), SubRip for SubRip, plain text, WebVTT and MP4 timed text (mov_text).
enum class SideFileForm { None, Ass, Srt };

// The form for a codec (ffprobe's codec_name); None for any other codec.
SideFileForm SideFileFormOfCodec(const char *codec);

// The extension of a form, with its dot: ".ass", ".srt" ("" for None).
const char *SideFileExtension(SideFileForm form);

// Reads up to `size` bytes of the dump from byte `offset` into `buffer`: returns how many
// (0 at its end), or kDumpReadFailed.
constexpr size_t kDumpReadFailed = SIZE_MAX;
struct DumpReader {
    void *context;
    size_t (*read)(void *context, uint64_t offset, char *buffer, size_t size);
};

// Takes `size` bytes of the side file; false when they could not be written.
struct DumpWriter {
    void *context;
    bool (*write)(void *context, const char *data, size_t size);
};

enum class DumpResult {
    Converted,   // the side file was written whole
    Empty,       // a sound dump, but no cue to show: make no side file
    Broken,      // not a whole dump of a text track (cut short, garbage, a packet or a
                 // line beyond the buffers, another codec, several streams)
    ReadFailed,  // the reader failed
    WriteFailed, // the writer failed
};

// The buffers: the input window, one line of the dump, one packet's bytes, the output.
constexpr size_t kDumpWindowSize = 8192;
constexpr size_t kDumpLineSize = 256;
constexpr size_t kDumpPacketSize = 32768;
constexpr size_t kDumpOutputSize = 8192;

// Converts an ffprobe dump (kTrackDumpArguments...) into a side file through `writer`,
// and sets `form` to the form written. The dump is read whole once to check it and find
// the header, then again to write: nothing is written unless the whole dump is sound (the
// packet sections, then exactly one stream section and nothing after it; every hex line
// at its offset, its bytes and its text column agreeing; each packet with a time, a
// duration and its bytes; a codec of a text track; an ASS/SSA header that begins with
// "[Script Info]"), so a cut or garbled dump writes nothing. Only a failing writer, or
// a dump that changes between the readings, leaves part of a file written: the caller
// writes to a temporary name and keeps the file only on Converted. Times are the packets'
// own (the file's timeline, as the subtitles filter reads the embedded track):
//   ASS: the header up to its [Events] Format line (an [Events] section added where it
//        has none), then per packet "Dialogue: Layer,Start,End,Style,Name,MarginL,MarginR,
//        MarginV,Effect,Text" from Matroska's "ReadOrder,Layer,Style,Name,MarginL,MarginR,
//        MarginV,Effect,Text" (an SSA header's "Marked=" kept), times to the centisecond,
//        then the rest of the header; line ends become LF;
//   SRT: numbered cues, times to the millisecond; an mp4 timed-text packet's text is its
//        first 16-bit big-endian count of bytes, without the style boxes after it.
// A cue's text ends at a NUL and at its first blank line, as FFmpeg's decoders read it;
// a cue with no text, or one that ends before 0, is left out (a start before 0 becomes
// 0); an ASS packet without its fields is left out, as the decoder would drop it.
// No heap: the buffers above lie on the stack (about 50 KB).
DumpResult ConvertTrackDump(const DumpReader &reader, const DumpWriter &writer, SideFileForm &form);

#endif
