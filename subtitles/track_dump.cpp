#include "subtitles/track_dump.h"

#include <cstring>
#include <initializer_list>

#include "common/paths.h"
#include "common/text.h"

bool BuildTrackDumpCommand(const char *probeExe, const char *mediaFile, int subtitleIndex,
                           const char *dumpFile, char *out, size_t outSize)
{
    TextBuffer line = StartText(out, outSize);
    if (PathBreaksQuotes(probeExe) || PathBreaksQuotes(mediaFile) || PathBreaksQuotes(dumpFile) ||
        subtitleIndex < 0)
        return false;
    AppendText(line, "\"");
    AppendText(line, probeExe);
    AppendText(line, "\" ");
    AppendText(line, kTrackDumpArgumentsBefore);
    AppendNumber(line, subtitleIndex);
    AppendText(line, kTrackDumpArgumentsAfter);
    AppendText(line, " \"");
    AppendText(line, dumpFile);
    AppendText(line, "\" \"");
    AppendText(line, mediaFile);
    AppendText(line, "\"");
    if (line.overflow) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool BuildTrackFileName(const char *tempFolder, const char *mediaPath, uint64_t fileSize,
                        uint64_t writeTime, int subtitleIndex, const char *extension, char *out,
                        size_t outSize)
{
    // FNV-1a, 64 bits.
    constexpr uint64_t kOffsetBasis = 14695981039346656037ULL;
    constexpr uint64_t kPrime = 1099511628211ULL;
    uint64_t hash = kOffsetBasis;
    auto mix = [&](unsigned char byte) { hash = (hash ^ byte) * kPrime; };
    for (const char *p = mediaPath; *p != '\0'; ++p)
        mix(static_cast<unsigned char>(*p >= 'A' && *p <= 'Z' ? *p | 0x20 : *p));
    for (uint64_t value : {fileSize, writeTime})
        for (int shift = 0; shift < 64; shift += 8)
            mix(static_cast<unsigned char>(value >> shift));
    char digits[17];
    for (int i = 0; i < 16; ++i)
        digits[i] = "0123456789abcdef"[(hash >> (60 - 4 * i)) & 0xF];
    digits[16] = '\0';
    TextBuffer name = StartText(out, outSize);
    AppendText(name, tempFolder);
    AppendText(name, "duoscope-track-");
    AppendText(name, digits);
    AppendText(name, "-s");
    AppendNumber(name, subtitleIndex);
    AppendText(name, extension);
    if (name.overflow || subtitleIndex < 0) {
        out[0] = '\0';
        return false;
    }
    return true;
}

SideFileForm SideFileFormOfCodec(const char *codec)
{
    if (strcmp(codec, "ass") == 0 || strcmp(codec, "ssa") == 0)
        return SideFileForm::Ass;
    for (const char *name : {"subrip", "srt", "text", "webvtt", "mov_text"})
        if (strcmp(codec, name) == 0)
            return SideFileForm::Srt;
    return SideFileForm::None;
}

const char *SideFileExtension(SideFileForm form)
{
    return form == SideFileForm::Ass ? ".ass" : form == SideFileForm::Srt ? ".srt" : "";
}

namespace {

// How a packet's bytes are read: ASS events, mp4 timed text, or plain text (SubRip,
// WebVTT, plain text).
enum Reading { kAssPackets, kTimedText, kPlainText, kReadings };

Reading ReadingOfCodec(const char *codec)
{
    if (SideFileFormOfCodec(codec) == SideFileForm::Ass)
        return kAssPackets;
    return strcmp(codec, "mov_text") == 0 ? kTimedText : kPlainText;
}

constexpr int64_t kMicroseconds = 1000000;
constexpr size_t kLongestSeconds = 12; // digits of a time's whole seconds
constexpr size_t kHexBytesPerLine = 16;
constexpr size_t kHexOffsetDigits = 8;
// A hex line: the offset, ": ", the bytes' hex area (41 characters), the bytes as text.
constexpr size_t kHexAreaStart = kHexOffsetDigits + 2;
constexpr size_t kHexAreaWidth = 41;
constexpr size_t kCodecSize = 32;

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}
int HexValue(char c)
{
    return c <= '9' ? c - '0' : c - 'a' + 10;
}
constexpr char kHexDigits[] = "0123456789abcdef";

// Reads one hex line of `length` characters at `offset`: its bytes into `bytes`, and
// their count. False when it is not exactly the line ffprobe prints for them.
bool ReadHexLine(const char *line, size_t length, uint64_t offset, unsigned char *bytes,
                 size_t &count)
{
    count = 0;
    while (count < kHexBytesPerLine) {
        const size_t column = kHexAreaStart + 2 * count + count / 2;
        if (column + 1 >= length || !IsHex(line[column]) || !IsHex(line[column + 1]))
            break;
        bytes[count++] =
            static_cast<unsigned char>(HexValue(line[column]) * 16 + HexValue(line[column + 1]));
    }
    if (count == 0 || offset > 0xFFFFFFFFu || length != kHexAreaStart + kHexAreaWidth + count)
        return false;
    // The line ffprobe prints for these bytes, compared as it is made.
    char expected[kHexAreaStart + kHexAreaWidth + kHexBytesPerLine];
    size_t n = 0;
    for (int shift = 28; shift >= 0; shift -= 4)
        expected[n++] = kHexDigits[(offset >> shift) & 0xF];
    expected[n++] = ':';
    expected[n++] = ' ';
    for (size_t i = 0; i < count; ++i) {
        expected[n++] = kHexDigits[bytes[i] >> 4];
        expected[n++] = kHexDigits[bytes[i] & 0xF];
        if (i & 1)
            expected[n++] = ' ';
    }
    while (n < kHexAreaStart + kHexAreaWidth)
        expected[n++] = ' ';
    for (size_t i = 0; i < count; ++i)
        expected[n++] = bytes[i] >= 0x20 && bytes[i] < 0x7F ? static_cast<char>(bytes[i]) : '.';
    return n == length && memcmp(expected, line, length) == 0;
}

// A time as ffprobe prints it ("12.345000", "-0.023000"): seconds (at most 12 digits),
// a dot and 1 to 9 decimals, in microseconds. False for "N/A" and anything else.
bool ReadTime(const char *text, int64_t &microseconds)
{
    const bool negative = *text == '-';
    text += negative;
    int64_t seconds = 0, fraction = 0;
    size_t digits = 0;
    for (; *text >= '0' && *text <= '9'; ++text, ++digits) {
        if (digits == kLongestSeconds)
            return false;
        seconds = seconds * 10 + (*text - '0');
    }
    if (digits == 0 || *text++ != '.')
        return false;
    int64_t scale = kMicroseconds;
    for (digits = 0; *text >= '0' && *text <= '9'; ++text, ++digits) {
        scale /= 10;
        fraction += (*text - '0') * scale;
    }
    if (digits == 0 || digits > 9 || *text != '\0')
        return false;
    microseconds = (seconds * kMicroseconds + fraction) * (negative ? -1 : 1);
    return true;
}

// The side file's bytes, gathered in a fixed buffer and handed to the writer when it is
// full and at the end. Without a writer it only counts.
struct Output {
    const DumpWriter *writer;
    char buffer[kDumpOutputSize];
    size_t length;
    bool failed;

    void Flush()
    {
        if (writer != nullptr && length > 0 && !failed)
            failed = !writer->write(writer->context, buffer, length);
        length = 0;
    }
    void Put(const char *data, size_t size)
    {
        for (size_t i = 0; i < size; ++i) {
            if (length == sizeof buffer)
                Flush();
            buffer[length++] = data[i];
        }
    }
    void Put(const char *text) { Put(text, strlen(text)); }
    // `value` in decimal with at least `width` digits.
    void Number(int64_t value, int width)
    {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value > 0 || n < width);
        while (n > 0)
            Put(&digits[--n], 1);
    }
};

// Line ends of header text: CR LF, a lone CR and LF each become one LF, and text that
// does not end in one gets one at its end.
struct HeaderLines {
    bool afterCr;
    bool lineOpen;

    void Byte(Output &out, char c)
    {
        if (c == '\n' && afterCr) {
            afterCr = false;
            return;
        }
        afterCr = c == '\r';
        out.Put(c == '\r' ? "\n" : &c, 1);
        lineOpen = c != '\r' && c != '\n';
    }
    void End(Output &out)
    {
        if (lineOpen)
            out.Put("\n");
        lineOpen = false;
    }
};

// Finds a text in a stream of bytes, one byte at a time (the texts sought do not begin
// with a letter they hold again, so a mismatch starts over at that byte).
struct Finder {
    const char *text;
    size_t matched;

    bool Byte(char c)
    {
        if (text[matched] == '\0')
            return true;
        matched = c == text[matched] ? matched + 1 : (c == text[0] ? 1 : 0);
        return text[matched] == '\0';
    }
    bool Found() const { return text[matched] == '\0'; }
};

// What the first reading learns of the dump.
struct DumpFacts {
    uint64_t streamOffset;  // where the stream section begins
    char codec[kCodecSize]; // its codec
    long cues[kReadings];   // the cues its packets give, read each way
    // The ASS/SSA header (the extradata up to a NUL):
    uint64_t headerSize;
    uint64_t split;       // bytes before the trailer: up to the line after "\n[Events]...Format:"
    char headerStart[16]; // its first bytes
    bool events;          // holds "\n[Events]"
    bool ssa;             // holds no "\n[V4+ Styles]": SSA's "Marked=" events
};

// The passes over the dump.
enum class Pass {
    Check,   // check it whole, learn the facts
    Header,  // write the header before the trailer (from the stream section)
    Events,  // write the cues (from the start)
    Trailer, // write the rest of the header (from the stream section)
};

// A cue's times in units of `unit` microseconds, rounded; false when it ends before it
// starts or at 0.
bool CueTimes(int64_t pts, int64_t duration, int64_t unit, int64_t &start, int64_t &end)
{
    const int64_t last = pts + duration;
    if (last <= 0)
        return false;
    start = pts <= 0 ? 0 : (pts + unit / 2) / unit;
    end = (last + unit / 2) / unit;
    return end > start;
}

// An ASS packet's fields: "ReadOrder,Layer,Style,Name,MarginL,MarginR,MarginV,Effect,Text"
// with "Marked=" before the layer in SSA's. The layer's and the rest's places.
struct AssEvent {
    const char *layer;
    size_t layerLength;
    const char *rest; // from Style to the end of Text, without line ends at its end
    size_t restLength;
};

// A signed whole number and the comma after it, at `p`; returns where it ends, or null.
const char *SkipNumberField(const char *p, const char *end)
{
    p += p < end && *p == '-';
    const char *digits = p;
    while (p < end && *p >= '0' && *p <= '9')
        ++p;
    return p > digits && p < end && *p == ',' ? p : nullptr;
}

bool ReadAssEvent(const char *data, size_t size, AssEvent &event)
{
    const char *end = static_cast<const char *>(memchr(data, '\0', size));
    end = end != nullptr ? end : data + size;
    const char *p = SkipNumberField(data, end);
    if (p == nullptr)
        return false;
    ++p;
    static constexpr char kMarked[] = "Marked=";
    if (static_cast<size_t>(end - p) >= sizeof kMarked - 1 &&
        memcmp(p, kMarked, sizeof kMarked - 1) == 0)
        p += sizeof kMarked - 1;
    event.layer = p;
    p = SkipNumberField(p, end);
    if (p == nullptr)
        return false;
    event.layerLength = static_cast<size_t>(p - event.layer);
    event.rest = p + 1;
    while (end > event.rest && (end[-1] == '\r' || end[-1] == '\n'))
        --end;
    event.restLength = static_cast<size_t>(end - event.rest);
    // Style, Name, MarginL, MarginR, MarginV, Effect: six commas before the text.
    int commas = 0;
    for (const char *q = event.rest; q < end; ++q)
        commas += *q == ',';
    return commas >= 6;
}

// The text of a plain cue, or of mp4 timed text after its count: where it lies in `data`.
bool TextOfPacket(const char *data, size_t size, Reading reading, const char *&text, size_t &length)
{
    text = data;
    length = size;
    if (reading == kTimedText) {
        if (size < 2)
            return false;
        length = static_cast<size_t>(static_cast<unsigned char>(data[0]) << 8 |
                                     static_cast<unsigned char>(data[1]));
        if (length > size - 2)
            return false;
        text = data + 2;
    }
    const char *nul = static_cast<const char *>(memchr(text, '\0', length));
    if (nul != nullptr)
        length = static_cast<size_t>(nul - text);
    return true;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Whether a plain text shows anything: its first line (which the first blank line would
// end) holds a letter other than a blank.
bool TextShows(const char *text, size_t length)
{
    for (size_t i = 0; i < length && text[i] != '\r' && text[i] != '\n'; ++i)
        if (!IsBlank(text[i]))
            return true;
    return false;
}

// Makes a plain text's line ends LF in place and cuts it before its first blank line
// (and its line end); returns its new length.
size_t TidyText(char *text, size_t length)
{
    size_t n = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r') {
            text[n++] = '\n';
            i += i + 1 < length && text[i + 1] == '\n';
        } else {
            text[n++] = text[i];
        }
    }
    size_t lineStart = 0;
    for (size_t i = 0; i <= n; ++i) {
        if (i < n && text[i] != '\n')
            continue;
        bool blank = true;
        for (size_t j = lineStart; j < i; ++j)
            blank = blank && IsBlank(text[j]);
        if (blank)
            return lineStart == 0 ? 0 : lineStart - 1;
        lineStart = i + 1;
    }
    return n;
}

// Everything one reading of the dump needs: the window and line, one packet's bytes,
// the facts, the output.
struct Work {
    const DumpReader *reader;
    Pass pass;
    // The window over the dump and the line being read.
    uint64_t windowOffset;
    size_t filled;
    size_t position;
    bool atEnd;
    bool readFailed;
    char window[kDumpWindowSize];
    char line[kDumpLineSize];
    uint64_t lineStart; // where the line begins in the dump
    // The packet being read.
    unsigned char packet[kDumpPacketSize];
    size_t packetSize;
    int64_t pts;
    int64_t duration;
    // The facts, and what the passes count.
    DumpFacts facts;
    uint64_t extradataIndex;
    bool extradataStopped; // a NUL ended the header
    Finder eventsSection, format, v4Styles;
    bool formatFound;
    bool splitFound;
    long cuesWritten;
    HeaderLines headerLines;
    Output out;

    // The next byte of the dump, or -1 at its end (or when the reader failed).
    int Byte()
    {
        if (position == filled) {
            if (atEnd)
                return -1;
            windowOffset += filled;
            filled = position = 0;
            const size_t got = reader->read(reader->context, windowOffset, window, sizeof window);
            if (got == kDumpReadFailed || got > sizeof window) {
                readFailed = true;
                atEnd = true;
                return -1;
            }
            if (got == 0) {
                atEnd = true;
                return -1;
            }
            filled = got;
        }
        return static_cast<unsigned char>(window[position++]);
    }

    // The next whole line (its LF and a CR before it dropped) in `line`, its length in
    // `length`. 1: a line; 0: the end; -1: a line cut short, too long, or with a NUL.
    int NextLine(size_t &length)
    {
        length = 0;
        lineStart = windowOffset + position;
        for (;;) {
            const int c = Byte();
            if (c < 0)
                return length == 0 ? 0 : -1;
            if (c == '\n') {
                length -= length > 0 && line[length - 1] == '\r';
                line[length] = '\0';
                return 1;
            }
            if (c == '\0' || length + 1 >= sizeof line)
                return -1;
            line[length++] = static_cast<char>(c);
        }
    }

    void ExtradataByte(unsigned char byte)
    {
        if (extradataStopped || byte == '\0') {
            extradataStopped = true;
            return;
        }
        const char c = static_cast<char>(byte);
        const uint64_t index = extradataIndex++;
        if (pass == Pass::Check) {
            if (index < sizeof facts.headerStart)
                facts.headerStart[index] = c;
            facts.headerSize = extradataIndex;
            v4Styles.Byte(c);
            if (!facts.events)
                facts.events = eventsSection.Byte(c);
            else if (!formatFound)
                formatFound = format.Byte(c);
            else if (!splitFound && c == '\n')
                facts.split = extradataIndex, splitFound = true;
        } else if ((pass == Pass::Header && index < facts.split) ||
                   (pass == Pass::Trailer && index >= facts.split)) {
            headerLines.Byte(out, c);
        }
    }

    void PacketEnd()
    {
        const char *data = reinterpret_cast<const char *>(packet);
        int64_t start = 0, end = 0;
        if (pass == Pass::Check) {
            AssEvent event;
            if (ReadAssEvent(data, packetSize, event) && CueTimes(pts, duration, 10000, start, end))
                ++facts.cues[kAssPackets];
            for (Reading reading : {kTimedText, kPlainText}) {
                const char *text;
                size_t length;
                if (TextOfPacket(data, packetSize, reading, text, length) &&
                    TextShows(text, length) && CueTimes(pts, duration, 1000, start, end))
                    ++facts.cues[reading];
            }
            return;
        }
        if (pass != Pass::Events)
            return;
        const Reading reading = ReadingOfCodec(facts.codec);
        if (reading == kAssPackets) {
            AssEvent event;
            if (!ReadAssEvent(data, packetSize, event) ||
                !CueTimes(pts, duration, 10000, start, end))
                return;
            ++cuesWritten;
            out.Put("Dialogue: ");
            if (facts.ssa)
                out.Put("Marked=");
            out.Put(event.layer, event.layerLength);
            for (int64_t time : {start, end}) {
                out.Put(",");
                out.Number(time / 360000, 1);
                out.Put(":");
                out.Number(time / 6000 % 60, 2);
                out.Put(":");
                out.Number(time / 100 % 60, 2);
                out.Put(".");
                out.Number(time % 100, 2);
            }
            out.Put(",");
            // A line end inside the text becomes ASS's line break.
            for (size_t i = 0; i < event.restLength; ++i) {
                const char c = event.rest[i];
                if (c == '\r' || c == '\n') {
                    out.Put("\\N");
                    i += c == '\r' && i + 1 < event.restLength && event.rest[i + 1] == '\n';
                } else {
                    out.Put(&c, 1);
                }
            }
            out.Put("\n");
            return;
        }
        const char *text;
        size_t length;
        if (!TextOfPacket(data, packetSize, reading, text, length) || !TextShows(text, length) ||
            !CueTimes(pts, duration, 1000, start, end))
            return;
        length = TidyText(const_cast<char *>(text), length);
        out.Number(++cuesWritten, 1);
        out.Put("\n");
        for (int64_t time : {start, end}) {
            out.Number(time / 3600000, 2);
            out.Put(":");
            out.Number(time / 60000 % 60, 2);
            out.Put(":");
            out.Number(time / 1000 % 60, 2);
            out.Put(",");
            out.Number(time % 1000, 3);
            out.Put(time == start ? " --> " : "\n");
        }
        out.Put(text, length);
        out.Put("\n\n");
    }
};

// Whether `line` is `key` followed by its value.
bool KeyIs(const char *line, const char *key)
{
    return strncmp(line, key, strlen(key)) == 0;
}

// Whether `line` is a field of another name ("name=value", the name of lower-case
// letters, digits, '_' and ':'), which a reading passes over.
bool IsOtherField(const char *line)
{
    const char *p = line;
    while ((*p >= 'a' && *p <= 'z') || (*p >= '0' && *p <= '9') || *p == '_' || *p == ':')
        ++p;
    return p != line && *p == '=';
}

// Reads the dump from `from` to its end for `work.pass`. Converted when it is sound from
// there; Broken or ReadFailed otherwise.
DumpResult ReadDump(Work &work, uint64_t from)
{
    enum class Section { Top, Packet, PacketData, Stream, Extradata, After };
    work.windowOffset = from;
    work.filled = work.position = 0;
    work.atEnd = work.readFailed = false;
    Section section = Section::Top;
    bool hasPts = false, hasDuration = false, hasData = false, hasCodec = false,
         hasExtradata = false;
    bool lastShort = false;
    uint64_t bytes = 0;
    for (;;) {
        size_t length = 0;
        const int got = work.NextLine(length);
        if (work.readFailed)
            return DumpResult::ReadFailed;
        if (got <= 0)
            return got == 0 && section == Section::After ? DumpResult::Converted
                                                         : DumpResult::Broken;
        const char *line = work.line;
        switch (section) {
        case Section::Top:
            if (strcmp(line, "[PACKET]") == 0) {
                section = Section::Packet;
                hasPts = hasDuration = hasData = false;
                work.packetSize = 0;
            } else if (strcmp(line, "[STREAM]") == 0) {
                if (work.pass == Pass::Check)
                    work.facts.streamOffset = work.lineStart;
                section = Section::Stream;
            } else {
                return DumpResult::Broken;
            }
            break;
        case Section::Packet:
            if (strcmp(line, "[/PACKET]") == 0) {
                if (!hasPts || !hasDuration || !hasData)
                    return DumpResult::Broken;
                work.PacketEnd();
                section = Section::Top;
            } else if (KeyIs(line, "pts_time=")) {
                if (hasPts || !ReadTime(line + strlen("pts_time="), work.pts))
                    return DumpResult::Broken;
                hasPts = true;
            } else if (KeyIs(line, "duration_time=")) {
                if (hasDuration || !ReadTime(line + strlen("duration_time="), work.duration) ||
                    work.duration < 0)
                    return DumpResult::Broken;
                hasDuration = true;
            } else if (strcmp(line, "data=") == 0 && !hasData) {
                section = Section::PacketData;
                bytes = 0;
                lastShort = false;
            } else if (!IsOtherField(line) || KeyIs(line, "data=")) {
                return DumpResult::Broken;
            }
            break;
        case Section::PacketData:
        case Section::Extradata: {
            const bool packet = section == Section::PacketData;
            if (length == 0) {
                (packet ? hasData : hasExtradata) = true;
                section = packet ? Section::Packet : Section::Stream;
                break;
            }
            unsigned char lineBytes[kHexBytesPerLine];
            size_t count = 0;
            if (lastShort || !ReadHexLine(line, length, bytes, lineBytes, count))
                return DumpResult::Broken;
            bytes += count;
            lastShort = count < kHexBytesPerLine;
            if (packet) {
                if (count > sizeof work.packet - work.packetSize)
                    return DumpResult::Broken;
                memcpy(work.packet + work.packetSize, lineBytes, count);
                work.packetSize += count;
            } else {
                for (size_t i = 0; i < count; ++i)
                    work.ExtradataByte(lineBytes[i]);
            }
            break;
        }
        case Section::Stream:
            if (strcmp(line, "[/STREAM]") == 0) {
                if (!hasCodec)
                    return DumpResult::Broken;
                section = Section::After;
            } else if (KeyIs(line, "codec_name=")) {
                const char *codec = line + strlen("codec_name=");
                if (hasCodec)
                    return DumpResult::Broken;
                if (work.pass == Pass::Check &&
                    !CopyText(work.facts.codec, sizeof work.facts.codec, codec))
                    return DumpResult::Broken;
                if (strcmp(work.facts.codec, codec) != 0)
                    return DumpResult::Broken; // the dump changed between readings
                hasCodec = true;
            } else if (strcmp(line, "extradata=") == 0 && !hasExtradata) {
                section = Section::Extradata;
                bytes = 0;
                lastShort = false;
                work.extradataIndex = 0;
                work.extradataStopped = false;
            } else if (!IsOtherField(line) || KeyIs(line, "extradata=")) {
                return DumpResult::Broken;
            }
            break;
        case Section::After:
            return DumpResult::Broken;
        }
    }
}

// Whether an ASS/SSA header begins as the ASS reader wants: "[Script Info]", after a UTF-8
// byte order mark if it has one.
bool BeginsAsScript(const DumpFacts &facts)
{
    static constexpr char kBom[] = "\xEF\xBB\xBF";
    static constexpr char kScriptInfo[] = "[Script Info]";
    const char *start = facts.headerStart;
    uint64_t size = facts.headerSize;
    if (size >= 3 && memcmp(start, kBom, 3) == 0)
        start += 3, size -= 3;
    return size >= sizeof kScriptInfo - 1 &&
           memcmp(start, kScriptInfo, sizeof kScriptInfo - 1) == 0;
}

} // namespace

DumpResult ConvertTrackDump(const DumpReader &reader, const DumpWriter &writer, SideFileForm &form)
{
    form = SideFileForm::None;
    Work work;
    work.reader = &reader;
    work.pass = Pass::Check;
    work.facts = DumpFacts{};
    work.extradataIndex = 0;
    work.extradataStopped = false;
    work.eventsSection = Finder{"\n[Events]", 0};
    work.format = Finder{"Format:", 0};
    work.v4Styles = Finder{"\n[V4+ Styles]", 0};
    work.formatFound = work.splitFound = false;
    work.cuesWritten = 0;
    work.out.writer = nullptr;
    work.out.length = 0;
    work.out.failed = false;
    DumpResult result = ReadDump(work, 0);
    if (result != DumpResult::Converted)
        return result;
    DumpFacts &facts = work.facts;
    facts.ssa = !work.v4Styles.Found();
    if (!work.splitFound)
        facts.split = facts.headerSize;
    const SideFileForm found = SideFileFormOfCodec(facts.codec);
    const Reading reading = ReadingOfCodec(facts.codec);
    if (found == SideFileForm::None || (found == SideFileForm::Ass && !BeginsAsScript(facts)))
        return DumpResult::Broken;
    if (found == SideFileForm::Srt && facts.cues[reading] == 0)
        return DumpResult::Empty;

    work.out.writer = &writer;
    const Pass passes[] = {Pass::Header, Pass::Events, Pass::Trailer};
    for (Pass pass : passes) {
        if (found != SideFileForm::Ass && pass != Pass::Events)
            continue;
        work.pass = pass;
        work.headerLines = HeaderLines{false, false};
        result = ReadDump(work, pass == Pass::Events ? 0 : facts.streamOffset);
        if (result != DumpResult::Converted)
            return result;
        work.headerLines.End(work.out);
        if (pass == Pass::Header && !facts.events) {
            work.out.Put("[Events]\nFormat: ");
            work.out.Put(facts.ssa ? "Marked" : "Layer");
            work.out.Put(", Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n");
        }
        if (pass == Pass::Events && work.cuesWritten != facts.cues[reading])
            return DumpResult::Broken; // the dump changed between readings
        if (work.out.failed)
            return DumpResult::WriteFailed;
    }
    work.out.Flush();
    if (work.out.failed)
        return DumpResult::WriteFailed;
    form = found;
    return DumpResult::Converted;
}
