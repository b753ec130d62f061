#include "media/probe_output.h"

#include <cstring>

#include "common/piece.h"

namespace {

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

// FFmpeg's name of a spherical projection.
Projection ProjectionOf(Piece name)
{
    struct Name {
        const char *text;
        Projection projection;
    };
    static constexpr Name kNames[] = {
        {"equirectangular", Projection::Equirect},
        {"tiled equirectangular", Projection::TiledEquirect},
        {"half equirectangular", Projection::HalfEquirect},
        {"fisheye", Projection::Fisheye},
    };
    for (const Name &known : kNames)
        if (PieceIs(name, known.text))
            return known.projection;
    return Projection::Other;
}

// A whole number of degrees, perhaps negative, within a turn each way; 0 for anything
// else.
int DegreesOf(Piece piece)
{
    constexpr long kTurn = 360;
    const bool negative = piece.length > 0 && piece.start[0] == '-';
    const long value =
        DecimalOf({piece.start + (negative ? 1 : 0), piece.length - (negative ? 1 : 0)});
    if (value < 0 || value > kTurn)
        return 0;
    return static_cast<int>(negative ? -value : value);
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
        } else if (PieceIs(section, "side_data") ||
                   (PieceIs(section, "stream") && PieceIs(inner, "side_data"))) {
            // FFmpeg 5 prints a stream's second side datum on a line of its own.
            SideDataField(key, value);
        } else if (!PieceIs(section, "stream")) {
            return;
        } else if (PieceIs(key, "width")) {
            answer.width = DecimalOf(value);
        } else if (PieceIs(key, "height")) {
            answer.height = DecimalOf(value);
        } else if (PieceIs(key, "sample_aspect_ratio")) {
            const char *colon = static_cast<const char *>(memchr(value.start, ':', value.length));
            if (colon == nullptr)
                return;
            const size_t left = static_cast<size_t>(colon - value.start);
            const long num = DecimalOf({value.start, left});
            const long den = DecimalOf({colon + 1, value.length - left - 1});
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
            answer.rightViewFirst = PieceStartsWith(value, "2,");
        }
    }

    // A field of the stream's stereo or spherical side data.
    void SideDataField(Piece key, Piece value)
    {
        if (PieceIs(key, "type") && answer.stereo == StereoKind::None)
            answer.stereo = KindOfSideData(value);
        else if (PieceIs(key, "inverted") && answer.stereo != StereoKind::None)
            answer.inverted = PieceIs(value, "1");
        else if (PieceIs(key, "projection") && answer.projection == Projection::None)
            answer.projection = ProjectionOf(value);
        else if (PieceIs(key, "bound_left"))
            answer.boundLeft = DecimalOf(value);
        else if (PieceIs(key, "bound_top"))
            answer.boundTop = DecimalOf(value);
        else if (PieceIs(key, "bound_right"))
            answer.boundRight = DecimalOf(value);
        else if (PieceIs(key, "bound_bottom"))
            answer.boundBottom = DecimalOf(value);
        else if (PieceIs(key, "yaw"))
            answer.viewYaw = DegreesOf(value);
        else if (PieceIs(key, "pitch"))
            answer.viewPitch = DegreesOf(value);
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
                // FFmpeg 7 names a side datum's fields "side_datum/stereo_3d:type",
                // "side_datum/spherical_mapping:projection".
                static constexpr const char *kDatums[] = {"side_datum/stereo_3d:",
                                                          "side_datum/spherical_mapping:"};
                Piece keyInner = inner;
                for (const char *datum : kDatums)
                    if (PieceStartsWith(key, datum)) {
                        const size_t datumLength = strlen(datum);
                        keyInner = {"side_data", 9};
                        key = {key.start + datumLength, key.length - datumLength};
                    }
                Field(section, keyInner, key, value);
            }
            p = fieldEnd + 1;
        }
    }
};
} // namespace

bool ParseProbeOutput(const char *text, ProbeAnswer &answer)
{
    answer = ProbeAnswer{};
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
