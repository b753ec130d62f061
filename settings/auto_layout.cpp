#include "settings/auto_layout.h"

#include <cstring>

#include "settings/format_catalogue.h"

namespace {

constexpr const char kPhotoOptions[] = "-f mjpeg";
constexpr const char kViewsOptions[] = "-view_ids -1 -noframedrop";
static_assert(sizeof kViewsOptions - 1 <= kLongestAutoOptions, "options fit their bound");

// One piece of text that is not terminated where it ends.
struct Piece {
    const char *start;
    size_t length;
};

bool PieceIs(Piece piece, const char *text)
{
    return strlen(text) == piece.length && memcmp(piece.start, text, piece.length) == 0;
}

bool StartsWith(Piece piece, const char *text)
{
    const size_t length = strlen(text);
    return piece.length >= length && memcmp(piece.start, text, length) == 0;
}

// A whole decimal number, or -1 (for "N/A", empty or anything else).
long NumberOf(Piece piece)
{
    if (piece.length == 0 || piece.length > 9)
        return -1;
    long value = 0;
    for (size_t i = 0; i < piece.length; ++i) {
        if (piece.start[i] < '0' || piece.start[i] > '9')
            return -1;
        value = value * 10 + (piece.start[i] - '0');
    }
    return value;
}

// FFmpeg's name of a stereo side data type.
StereoKind KindOfSideData(Piece type)
{
    struct Name {
        const char *text;
        StereoKind kind;
    };
    static constexpr Name kNames[] = {
        {"2D", StereoKind::Mono},
        {"side by side", StereoKind::SideBySide},
        {"top and bottom", StereoKind::TopBottom},
        {"frame alternate", StereoKind::FrameAlternate},
        {"interleaved lines", StereoKind::Rows},
        {"interleaved columns", StereoKind::Columns},
    };
    for (const Name &name : kNames)
        if (PieceIs(type, name.text))
            return name.kind;
    return StereoKind::None;
}

// A stereo_mode tag of H.264's frame packing (Matroska's names): the kind, and whether
// the right eye comes first.
StereoKind KindOfFrameTag(Piece tag, bool &inverted)
{
    struct Name {
        const char *text;
        StereoKind kind;
        bool inverted;
    };
    static constexpr Name kNames[] = {
        {"mono", StereoKind::Mono, false},
        {"left_right", StereoKind::SideBySide, false},
        {"right_left", StereoKind::SideBySide, true},
        {"top_bottom", StereoKind::TopBottom, false},
        {"bottom_top", StereoKind::TopBottom, true},
        {"block_lr", StereoKind::FrameAlternate, false},
        {"block_rl", StereoKind::FrameAlternate, true},
        {"row_interleaved_lr", StereoKind::Rows, false},
        {"row_interleaved_rl", StereoKind::Rows, true},
        {"col_interleaved_lr", StereoKind::Columns, false},
        {"col_interleaved_rl", StereoKind::Columns, true},
    };
    for (const Name &name : kNames)
        if (PieceIs(tag, name.text)) {
            inverted = name.inverted;
            return name.kind;
        }
    return StereoKind::None;
}

// What one output line says. Its first field names the section (stream, frame,
// format); a field without '=' opens a section within it (FFmpeg 5's side_data).
struct LineReader {
    ProbeAnswer &answer;
    StereoKind frameKind;
    bool frameInverted;

    void Field(Piece section, Piece inner, Piece key, Piece value)
    {
        if (PieceIs(section, "format") && PieceIs(key, "format_name")) {
            answer.rawStream = PieceIs(value, "hevc");
        } else if (PieceIs(section, "frame") && PieceIs(key, "tag:stereo_mode")) {
            if (frameKind == StereoKind::None)
                frameKind = KindOfFrameTag(value, frameInverted);
        } else if (!PieceIs(section, "stream")) {
            return;
        } else if (PieceIs(inner, "side_data")) {
            if (PieceIs(key, "type") && answer.stereo == StereoKind::None)
                answer.stereo = KindOfSideData(value);
            else if (PieceIs(key, "inverted") && answer.stereo != StereoKind::None)
                answer.inverted = PieceIs(value, "1");
        } else if (PieceIs(key, "width")) {
            answer.width = NumberOf(value);
        } else if (PieceIs(key, "height")) {
            answer.height = NumberOf(value);
        } else if (PieceIs(key, "sample_aspect_ratio")) {
            const char *colon = static_cast<const char *>(memchr(value.start, ':', value.length));
            if (colon == nullptr)
                return;
            const size_t left = static_cast<size_t>(colon - value.start);
            const long num = NumberOf({value.start, left});
            const long den = NumberOf({colon + 1, value.length - left - 1});
            if (num > 0 && den > 0) {
                answer.sarNum = num;
                answer.sarDen = den;
            }
        } else if (PieceIs(key, "tag:stereo_mode")) {
            answer.mvcFilm = PieceIs(value, "block_lr") || PieceIs(value, "block_rl");
        } else if (PieceIs(key, "view_ids_available") && value.length > 0) {
            answer.views = 1;
            for (size_t i = 0; i < value.length; ++i)
                answer.views += value.start[i] == ',';
        } else if (PieceIs(key, "view_pos_available")) {
            answer.rightViewFirst = StartsWith(value, "2,");
        }
    }

    void Line(Piece line)
    {
        Piece section{line.start, 0};
        Piece inner{line.start, 0};
        const char *end = line.start + line.length;
        for (const char *p = line.start; p <= end;) {
            const char *bar =
                static_cast<const char *>(memchr(p, '|', static_cast<size_t>(end - p)));
            const char *fieldEnd = bar ? bar : end;
            const Piece field{p, static_cast<size_t>(fieldEnd - p)};
            const char *equals = static_cast<const char *>(memchr(field.start, '=', field.length));
            if (p == line.start) {
                section = field;
            } else if (equals == nullptr) {
                inner = field;
            } else {
                Piece key{field.start, static_cast<size_t>(equals - field.start)};
                const Piece value{equals + 1, field.length - key.length - 1};
                // FFmpeg 7 names a side datum's fields "side_datum/stereo_3d:type".
                static constexpr char kStereoDatum[] = "side_datum/stereo_3d:";
                constexpr size_t kStereoDatumLength = sizeof kStereoDatum - 1;
                Piece keyInner = inner;
                if (StartsWith(key, kStereoDatum)) {
                    keyInner = {"side_data", 9};
                    key = {key.start + kStereoDatumLength, key.length - kStereoDatumLength};
                }
                Field(section, keyInner, key, value);
            }
            p = fieldEnd + 1;
        }
    }
};

// A tag that says side by side or top and bottom without saying half or full.
bool IsBareTag(const NameLayout &tag)
{
    if (tag.tag == nullptr || tag.tagLength != 3)
        return false;
    char lower[4] = {};
    for (int i = 0; i < 3; ++i)
        lower[i] = static_cast<char>(tag.tag[i] | 0x20);
    return strcmp(lower, "sbs") == 0 || strcmp(lower, "tab") == 0;
}

// The frame's shape as it is shown: its width and height, each times its side of the
// sample aspect ratio.
struct DisplaySize {
    long long width;
    long long height;
};

DisplaySize DisplayOf(const ProbeAnswer &answer)
{
    return {static_cast<long long>(answer.width) * answer.sarNum,
            static_cast<long long>(answer.height) * answer.sarDen};
}

// Side by side or top and bottom, half or full by the eye's display aspect: a side by
// side eye narrower than it is high is squeezed, so is a top and bottom eye more than
// 2.5 times wider than it is high.
int HalfOrFull(StereoKind kind, const ProbeAnswer &answer, bool inverted)
{
    const DisplaySize shown = DisplayOf(answer);
    const int right = inverted ? 1 : 0;
    if (kind == StereoKind::SideBySide)
        return (shown.width < 2 * shown.height ? kHalfSbsParallel : kSbsParallel) + right;
    return (4 * shown.width > 5 * shown.height ? kHalfAboveLeft : kAboveLeft) + right;
}

// The layout of a frame that says nothing of its own: at least 2.5 times wider than
// high, two eyes side by side; at most as wide as high, one above the other; between,
// two squeezed eyes side by side, the most common 3D film.
int LayoutOfFrame(const ProbeAnswer &answer)
{
    const DisplaySize shown = DisplayOf(answer);
    if (2 * shown.width >= 5 * shown.height)
        return kSbsParallel;
    if (shown.width <= shown.height)
        return kAboveLeft;
    return kHalfSbsParallel;
}

} // namespace

bool ParseProbeOutput(const char *text, ProbeAnswer &answer)
{
    answer = ProbeAnswer{false, -1, -1, 1, 1, StereoKind::None, false, false, 0, false, false};
    LineReader reader{answer, StereoKind::None, false};
    for (const char *p = text; *p != '\0';) {
        size_t length = strcspn(p, "\r\n");
        reader.Line({p, length});
        p += length;
        p += strspn(p, "\r\n");
    }
    if (answer.stereo == StereoKind::None) {
        answer.stereo = reader.frameKind;
        answer.inverted = reader.frameInverted;
    }
    answer.read = answer.width > 0 && answer.height > 0;
    if (!answer.read)
        answer = ProbeAnswer{};
    return answer.read;
}

bool AutoNeedsProbe(const char *name, LeadByteTest isLeadByte)
{
    const NameLayout tag = LayoutFromFileName(name, isLeadByte);
    if (tag.tag != nullptr)
        return IsBareTag(tag);
    return !NameHasExtension(name, "mpo", isLeadByte);
}

AutoChoice ChooseAutoLayout(const char *name, LeadByteTest isLeadByte, const ProbeAnswer *answer)
{
    AutoChoice choice{0, false, "", AutoReason::Unread, StereoKind::None, false, {}, 0, 0};
    const bool read = answer != nullptr && answer->read;
    if (read) {
        choice.width = answer->width;
        choice.height = answer->height;
    }

    // The user's own word.
    const NameLayout tag = LayoutFromFileName(name, isLeadByte);
    if (tag.tag != nullptr && tag.tagLength < sizeof choice.tag) {
        memcpy(choice.tag, tag.tag, tag.tagLength);
        choice.tag[tag.tagLength] = '\0';
        choice.layout = tag.index;
        choice.reason = AutoReason::NameTag;
        if (read && IsBareTag(tag)) {
            const bool sbs = (tag.tag[0] | 0x20) == 's';
            choice.layout =
                HalfOrFull(sbs ? StereoKind::SideBySide : StereoKind::TopBottom, *answer, false);
            choice.reason = AutoReason::TagFrame;
        }
        return choice;
    }

    // The file's own description.
    if (read) {
        choice.stereo = answer->stereo;
        choice.inverted = answer->inverted;
        const int right = answer->inverted ? 1 : 0;
        choice.reason = AutoReason::Metadata;
        if (answer->mvcFilm) {
            choice.original = true;
            choice.reason = AutoReason::MvcFilm;
            return choice;
        }
        switch (answer->stereo) {
        case StereoKind::Mono:
            choice.original = true;
            choice.reason = AutoReason::Mono;
            return choice;
        case StereoKind::SideBySide:
        case StereoKind::TopBottom:
            choice.layout = HalfOrFull(answer->stereo, *answer, answer->inverted);
            return choice;
        case StereoKind::FrameAlternate:
            choice.layout = kAlternatingLeft + right;
            return choice;
        case StereoKind::Rows:
            choice.layout = kRowsLeft + right;
            return choice;
        case StereoKind::Columns:
            choice.layout = kColumnsLeft + right;
            return choice;
        case StereoKind::None:
            break;
        }
        choice.inverted = false;
    }

    if (NameHasExtension(name, "mpo", isLeadByte)) {
        choice.layout = kAlternatingLeft;
        choice.options = kPhotoOptions;
        choice.reason = AutoReason::Photo;
        return choice;
    }
    if (!read) {
        choice.reason = AutoReason::Unread;
        return choice;
    }
    if (answer->views >= 2) {
        if (answer->rawStream) {
            choice.original = true;
            choice.reason = AutoReason::RawViews;
            return choice;
        }
        choice.inverted = answer->rightViewFirst;
        choice.layout = kAlternatingLeft + (answer->rightViewFirst ? 1 : 0);
        choice.options = kViewsOptions;
        choice.reason = AutoReason::TwoViews;
        return choice;
    }
    choice.layout = LayoutOfFrame(*answer);
    choice.reason = AutoReason::Frame;
    return choice;
}
