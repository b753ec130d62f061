#include "playback/subtitle_graph.h"

#include <cstring>

#include "res/resource.h"
#include "res/string_entries.h"

namespace {

// Output layouts whose two eyes are two regions of the frame: the four side-by-side and
// the four above/below layouts lead the output list, HDMI frame packing ends it.
constexpr int kLastRegionOutput = 7;
constexpr int kHdmiOutput = 32;

constexpr bool OutputCodeIs(int index, const char *code)
{
    const char *text = StringEntryText(IDS_OUTPUT_CODE_FIRST + static_cast<unsigned>(index));
    while (*code != '\0' && *code == *text) {
        ++code;
        ++text;
    }
    return *code == *text;
}
static_assert(OutputCodeIs(0, "sbsl") && OutputCodeIs(3, "sbs2r") && OutputCodeIs(4, "abl") &&
                  OutputCodeIs(kLastRegionOutput, "ab2r") && OutputCodeIs(kHdmiOutput, "hdmi"),
              "the region outputs stand where SplitsPictureSubtitles looks for them");
static_assert(kHdmiOutput == kOutputFormatCount - 1);

// Where a frame's two eyes lie once the stage has them apart.
enum class Regions { LeftAndRight, AboveAndBelow };

// One eye's region in the frame, as crop's expressions: width, height, left, top, and
// the right edge.
struct Region {
    const char *w, *h, *x, *y, *right;
};
constexpr Region kLeftHalf = {"iw/2", "ih", "0", "0", "iw/2"};
constexpr Region kRightHalf = {"iw/2", "ih", "iw/2", "0", "iw"};
constexpr Region kUpperHalf = {"iw", "ih/2", "0", "0", "iw"};
constexpr Region kLowerHalf = {"iw", "ih/2", "0", "ih/2", "iw"};

bool IsSideBySide(int layout)
{
    return layout >= kSbsParallel && layout <= kHalfSbsCross;
}

bool IsHalf(int layout)
{
    return layout == kHalfSbsParallel || layout == kHalfSbsCross || layout == kHalfAboveLeft ||
           layout == kHalfAboveRight;
}

// The left eye comes first in every left-first layout, whose index is even.
bool LeftFirst(int layout)
{
    return layout % 2 == 0;
}

void AppendPair(TextBuffer &graph, const char *first, long a, const char *second, long b)
{
    AppendText(graph, first);
    AppendNumber(graph, a);
    AppendText(graph, second);
    AppendNumber(graph, b);
}

// `base` plus `amount` (which may be negative) as an expression: `base` alone for 0, the
// bare number where `base` is 0.
void AppendOffset(TextBuffer &graph, const char *base, long amount)
{
    if (strcmp(base, "0") == 0) {
        AppendNumber(graph, amount);
        return;
    }
    AppendText(graph, base);
    if (amount > 0)
        AppendText(graph, "+");
    if (amount != 0)
        AppendNumber(graph, amount);
}

// crop=W:H:X:Y with the width `w` plus `wShift` (the bare `wShift` for a null `w`) and
// the left edge `x` plus `xShift`.
void AppendCrop(TextBuffer &graph, const char *w, long wShift, const char *h, const char *x,
                long xShift, const char *y)
{
    AppendText(graph, "crop=");
    if (w != nullptr)
        AppendOffset(graph, w, wShift);
    else
        AppendNumber(graph, wShift);
    AppendText(graph, ":");
    AppendText(graph, h);
    AppendText(graph, ":");
    AppendOffset(graph, x, xShift);
    AppendText(graph, ":");
    AppendText(graph, y);
}

bool FrameSideKnown(long side)
{
    return side > 0 && side <= kLargestFrameSide;
}

// The `subtitles` filter; `squeezed` lays the text out for the whole frame's shape. The
// file name comes after the fonts folder and the style, so that the graph never ends in a
// value's backslash, which the closing quote of its argument would take.
void AppendDrawing(TextBuffer &graph, const SubtitleDrawing &drawing, bool squeezed)
{
    AppendText(graph, "subtitles=");
    if (drawing.fontsDir[0] != '\0') {
        AppendText(graph, "fontsdir=");
        AppendFilterValue(graph, drawing.fontsDir, drawing.isLeadByte);
        AppendText(graph, ":");
    }
    if (drawing.forceStyle[0] != '\0') {
        AppendText(graph, "force_style=");
        AppendFilterValue(graph, drawing.forceStyle, drawing.isLeadByte);
        AppendText(graph, ":");
    }
    AppendText(graph, "filename=");
    AppendFilterValue(graph, drawing.file, drawing.isLeadByte);
    if (drawing.stream >= 0) {
        AppendText(graph, ":si=");
        AppendNumber(graph, drawing.stream);
    }
    if (squeezed) {
        const bool known =
            FrameSideKnown(drawing.frameWidth) && FrameSideKnown(drawing.frameHeight);
        AppendPair(graph, ":original_size=", known ? drawing.frameWidth : kAssumedFrameWidth, "x",
                   known ? drawing.frameHeight : kAssumedFrameHeight);
    }
}

// One eye at depth 0: `[in]crop,drawing[out]`.
void AppendEye(TextBuffer &graph, const char *in, const Region &region,
               const SubtitleDrawing &drawing, bool squeezed, const char *out)
{
    AppendText(graph, in);
    AppendCrop(graph, region.w, 0, region.h, region.x, 0, region.y);
    AppendText(graph, ",");
    AppendDrawing(graph, drawing, squeezed);
    AppendText(graph, out);
}

// One eye whose words move `shift` pixels (right when positive), from the split's
// outputs `in1` and `in2`, as two pieces side by side, `out1` left of `out2`: the strip
// that the text's canvas leaves out, and the canvas (the rest of the eye, padded back to
// the eye's size on the side away from the strip) with the text drawn and the padding
// cut off again.
void AppendShiftedEye(TextBuffer &graph, const char *in1, const char *in2, const Region &region,
                      long shift, const SubtitleDrawing &drawing, bool squeezed, const char *out1,
                      const char *out2)
{
    const long s = shift > 0 ? shift : -shift;
    AppendText(graph, in1);
    if (shift > 0) {
        AppendCrop(graph, nullptr, s, region.h, region.x, 0, region.y);
        AppendText(graph, out1);
        AppendText(graph, ";");
        AppendText(graph, in2);
        AppendCrop(graph, region.w, -s, region.h, region.x, s, region.y);
        AppendPair(graph, ",pad=iw+", s, ":ih:", 0);
        AppendText(graph, ":0,");
        AppendDrawing(graph, drawing, squeezed);
        AppendPair(graph, ",crop=iw-", s, ":ih:", 0);
        AppendText(graph, ":0");
        AppendText(graph, out2);
    } else {
        AppendCrop(graph, region.w, -s, region.h, region.x, 0, region.y);
        AppendPair(graph, ",pad=iw+", s, ":ih:", s);
        AppendText(graph, ":0,");
        AppendDrawing(graph, drawing, squeezed);
        AppendPair(graph, ",crop=iw-", s, ":ih:", s);
        AppendText(graph, ":0");
        AppendText(graph, out1);
        AppendText(graph, ";");
        AppendText(graph, in2);
        AppendCrop(graph, nullptr, s, region.h, region.right, -s, region.y);
        AppendText(graph, out2);
    }
}

// Both eyes of a frame in side-by-side or above/below `layout`, drawn and put back.
void AppendBothEyes(TextBuffer &graph, int layout, long shift, const SubtitleDrawing &drawing,
                    bool squeezed)
{
    const Regions regions = IsSideBySide(layout) ? Regions::LeftAndRight : Regions::AboveAndBelow;
    const Region &first = regions == Regions::LeftAndRight ? kLeftHalf : kUpperHalf;
    const Region &second = regions == Regions::LeftAndRight ? kRightHalf : kLowerHalf;
    const char *stack = regions == Regions::LeftAndRight ? "hstack" : "vstack";
    if (shift == 0) {
        AppendText(graph, "split[a][b];");
        AppendEye(graph, "[a]", first, drawing, squeezed, "[c];");
        AppendEye(graph, "[b]", second, drawing, squeezed, "[d];[c][d]");
        AppendText(graph, stack);
        return;
    }
    // Nearer, the left eye's words move right and the right eye's left.
    const long firstShift = LeftFirst(layout) ? shift : -shift;
    AppendText(graph, "split=4[a][b][c][d];");
    AppendShiftedEye(graph, "[a]", "[b]", first, firstShift, drawing, squeezed, "[e]", "[f];");
    AppendShiftedEye(graph, "[c]", "[d]", second, -firstShift, drawing, squeezed, "[g]", "[h];");
    if (regions == Regions::LeftAndRight)
        AppendText(graph, "[e][f][g][h]hstack=inputs=4");
    else
        AppendText(graph, "[e][f]hstack[i];[g][h]hstack[j];[i][j]vstack");
}

void AppendStereo(TextBuffer &graph, int input, unsigned outputCodeId, StringLookup lookup)
{
    AppendText(graph, "stereo3d=");
    AppendText(graph, lookup(InputCodeId(input)));
    AppendText(graph, ":");
    AppendText(graph, lookup(outputCodeId));
}

bool DrawingAccepted(const SubtitleDrawing &drawing)
{
    return drawing.file != nullptr && !PathBreaksQuotes(drawing.file) &&
           strlen(drawing.forceStyle) < kForceStyleSize;
}

} // namespace

int HeldSubtitleDepth(int depth)
{
    return depth < -kSubtitleDepthLimit
               ? -kSubtitleDepthLimit
               : (depth > kSubtitleDepthLimit ? kSubtitleDepthLimit : depth);
}

int AppendSubtitleStage(TextBuffer &graph, int entering, const SubtitleDrawing &drawing,
                        StringLookup lookup)
{
    if (!DrawingAccepted(drawing)) {
        graph.overflow = true;
        return -1;
    }
    const int layout = entering >= 0 && entering < kAutoInputLayout ? entering : kSbsParallel;
    const long shift =
        static_cast<long>(HeldSubtitleDepth(drawing.depth)) * kSubtitleDepthStepPixels;
    int leaving = layout;
    bool squeezed = IsHalf(layout);
    switch (layout) {
    case kAlternatingLeft:
    case kAlternatingRight:
        if (shift == 0) {
            AppendDrawing(graph, drawing, false);
            return graph.overflow ? -1 : layout;
        }
        leaving = kSbsParallel;
        break;
    case kRowsLeft:
    case kRowsRight:
        leaving = kAboveLeft;
        squeezed = true;
        break;
    case kColumnsLeft:
    case kColumnsRight:
        leaving = kSbsParallel;
        squeezed = true;
        break;
    default:
        break;
    }
    if (leaving != layout) {
        // The output codes of these layouts are their input codes.
        AppendStereo(graph, layout, OutputCodeId(leaving), lookup);
        AppendText(graph, ",");
    }
    AppendBothEyes(graph, leaving, shift, drawing, squeezed);
    return graph.overflow ? -1 : leaving;
}

bool AppendPlayerGraph(TextBuffer &graph, const GraphPrefix *prefix, bool original, int input,
                       int output, const SubtitleDrawing *drawing, StringLookup lookup)
{
    const bool text = drawing != nullptr && drawing->file != nullptr;
    if (original) {
        if (text) {
            if (DrawingAccepted(*drawing))
                AppendDrawing(graph, *drawing, false);
            else
                graph.overflow = true;
        }
        return !graph.overflow;
    }
    int entering = input;
    if (prefix != nullptr) {
        if (strlen(prefix->filters) > kLongestGraphPrefix) {
            graph.overflow = true;
            return false;
        }
        AppendText(graph, prefix->filters);
        AppendText(graph, ",");
        entering = prefix->layout;
    }
    if (text) {
        entering = AppendSubtitleStage(graph, entering, *drawing, lookup);
        if (entering < 0)
            return false;
        AppendText(graph, ",");
    }
    AppendStereo(graph, entering, OutputCodeId(output), lookup);
    return !graph.overflow;
}

bool SplitsPictureSubtitles(int output)
{
    const int index = output >= 0 && output < kOutputFormatCount ? output : 0;
    return index <= kLastRegionOutput || index == kHdmiOutput;
}
