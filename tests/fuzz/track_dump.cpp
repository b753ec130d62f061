// ffprobe's dump of a subtitle track (ConvertTrackDump): whatever the dump, the side file
// is bounded, written only from a whole dump, the same however the dump is read in
// pieces, never made from a dump cut short, and a SubRip file that reads back cue by cue.
#include <algorithm>

#include "fuzz_support.h"

#include "subtitles/track_dump.h"

namespace {

struct Source {
    const std::string *text;
    size_t piece;
};
size_t ReadSource(void *context, uint64_t offset, char *buffer, size_t size)
{
    const Source &source = *static_cast<const Source *>(context);
    const size_t left = offset < source.text->size() ? source.text->size() - offset : 0;
    size = std::min({size, source.piece, left});
    source.text->copy(buffer, size, offset);
    return size;
}
bool WriteString(void *context, const char *data, size_t size)
{
    static_cast<std::string *>(context)->append(data, size);
    return true;
}

DumpResult Convert(const std::string &dump, size_t piece, std::string &out, SideFileForm &form)
{
    Source source{&dump, piece};
    out.clear();
    return ConvertTrackDump(DumpReader{&source, ReadSource}, DumpWriter{&out, WriteString}, form);
}

bool IsDigits(const std::string &text, size_t from, size_t count)
{
    for (size_t i = from; i < from + count; ++i)
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// A SubRip file as the program writes it: cues numbered from 1, each a time line
// "HH:MM:SS,mmm --> HH:MM:SS,mmm", then lines that are not blank, then one blank line.
bool ReadsAsSubRip(const std::string &text)
{
    size_t p = 0;
    for (long cue = 1; p < text.size(); ++cue) {
        const std::string number = std::to_string(cue) + "\n";
        if (text.compare(p, number.size(), number) != 0)
            return false;
        p += number.size();
        const size_t lineEnd = text.find('\n', p);
        if (lineEnd == std::string::npos)
            return false;
        const std::string times = text.substr(p, lineEnd - p);
        const size_t arrow = times.find(" --> ");
        if (arrow == std::string::npos || arrow < 12 || times.size() - arrow - 5 < 12)
            return false;
        for (size_t start : {size_t{0}, arrow + 5}) {
            const size_t colon = times.find(':', start);
            if (colon == std::string::npos || !IsDigits(times, start, colon - start) ||
                times.compare(colon, 1, ":") != 0 || !IsDigits(times, colon + 1, 2) ||
                times[colon + 3] != ':' || !IsDigits(times, colon + 4, 2) ||
                times[colon + 6] != ',' || !IsDigits(times, colon + 7, 3))
                return false;
        }
        p = lineEnd + 1;
        const size_t end = text.find("\n\n", p);
        if (end == std::string::npos || end == p)
            return false;
        size_t lineStart = p;
        for (size_t i = p; i <= end; ++i) {
            if (i < end && text[i] != '\n')
                continue;
            if (text.find_first_not_of(" \t", lineStart) >= i)
                return false; // a blank line inside a cue
            lineStart = i + 1;
        }
        p = end + 2;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string dump(reinterpret_cast<const char *>(data), size);
    std::string whole, pieces;
    SideFileForm form = SideFileForm::None, formInPieces = SideFileForm::None;
    const DumpResult result = Convert(dump, kDumpWindowSize, whole, form);
    const size_t piece = 1 + size % 29;
    FUZZ_CHECK(Convert(dump, piece, pieces, formInPieces) == result);
    FUZZ_CHECK(pieces == whole && formInPieces == form);
    FUZZ_CHECK(result != DumpResult::ReadFailed && result != DumpResult::WriteFailed);
    // Bounded: each packet's bytes once, and what each cue adds is less than its dump
    // takes; an [Events] section may be added to a header.
    FUZZ_CHECK(whole.size() <= size + 128);
    if (result != DumpResult::Converted) {
        FUZZ_CHECK(whole.empty() && form == SideFileForm::None);
        return 0;
    }
    FUZZ_CHECK(form == SideFileForm::Ass || form == SideFileForm::Srt);
    if (form == SideFileForm::Srt)
        FUZZ_CHECK(!whole.empty() && ReadsAsSubRip(whole));
    else
        FUZZ_CHECK(whole.compare(whole.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0, 13,
                                 "[Script Info]") == 0);
    // Cut short, by a byte or to its half, it makes no file.
    for (size_t cut : {size - 1, size / 2}) {
        std::string out;
        SideFileForm cutForm;
        FUZZ_CHECK(Convert(dump.substr(0, cut), kDumpWindowSize, out, cutForm) !=
                   DumpResult::Converted);
        FUZZ_CHECK(out.empty());
    }
    return 0;
}
