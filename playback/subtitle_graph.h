// The player's filter graph (-vf) when subtitles are shown: text subtitles drawn by
// FFmpeg's `subtitles` filter (libass) into each eye's picture before the stereo
// conversion, at a depth chosen in steps, and whether the player's own picture subtitles
// (PGS, DVD), which it draws over the converted frame, suit an output layout. Pure
// functions of their inputs. Portable.
//
// The graph is built in stages: an optional prefix that yields a frame in a known input
// layout (a projection, say), then the subtitle stage for the layout that enters it,
// which may hand on another layout (interleaved rows leave it as above/below), then
// `stereo3d=LEAVING:OUTPUT`, kept even where both codes are one (the filter then passes
// the frame on), so that the text of a graph is predictable.
#ifndef DUOSCOPE_PLAYBACK_SUBTITLE_GRAPH_H
#define DUOSCOPE_PLAYBACK_SUBTITLE_GRAPH_H

#include <cstddef>

#include "common/filter_text.h"
#include "common/path_size.h"
#include "common/paths.h"
#include "common/text.h"
#include "settings/format_catalogue.h"

// Depth: the words of the left eye move right and those of the right eye left by
// kSubtitleDepthStepPixels of the eye's own picture per step nearer (a positive depth),
// the other way farther. Held to kSubtitleDepthLimit steps either way: 20 pixels per eye,
// 40 between the eyes' words, about 2 % of a 1920-pixel eye (4 % of a half-width eye
// once a 3D TV stretches it), the edge of what reads comfortably in front of the screen.
constexpr int kSubtitleDepthStepPixels = 2;
constexpr int kSubtitleDepthLimit = 10;

// The `stream` of a side subtitle file (the file holds one track).
constexpr int kSubtitleSideFile = -1;

// A half-width or half-height eye gets its text squeezed like its picture: libass lays
// it out for the frame's shape (`original_size`). Where the frame's size is not known,
// the 16:9 frame of 3D TV broadcasts and half side-by-side films is taken.
constexpr long kAssumedFrameWidth = 1920;
constexpr long kAssumedFrameHeight = 1080;
// A frame side beyond this is taken as not known.
constexpr long kLargestFrameSide = 16384;

// ASS style overrides (`force_style`): at most 127 characters.
constexpr size_t kForceStyleSize = 128;

// What to draw. Only `file` and `stream` choose the subtitles; the rest says how.
struct SubtitleDrawing {
    // Text subtitles to burn in: a side file (`stream` kSubtitleSideFile), or the media
    // file itself with `stream` the index among its subtitle streams (the filter's `si`).
    // Null when the subtitles are picture subtitles, which the player draws itself.
    const char *file;
    int stream;
    const char *fontsDir;   // a folder of fonts for libass, "" for none
    const char *forceStyle; // ASS style overrides, "" for none
    int depth;              // steps: > 0 nearer, < 0 farther, 0 at the screen
    // The frame entering the subtitle stage, in pixels; 0 (or anything outside
    // 1..kLargestFrameSide) when not known.
    long frameWidth;
    long frameHeight;
    LeadByteTest isLeadByte; // the code page of the paths
};

// Filters before the subtitle stage and the input layout of the frame they yield.
struct GraphPrefix {
    const char *filters; // one chain, without a comma at its end
    int layout;          // input layout index, 0 to 13
};
// The longest prefix that AppendPlayerGraph takes.
constexpr size_t kLongestGraphPrefix = 255;

// `depth` held to -kSubtitleDepthLimit..kSubtitleDepthLimit.
int HeldSubtitleDepth(int depth);

// Appends to `graph` the filters that draw `drawing`'s text into each eye of a frame in
// input layout `entering` (0 to 13; another index is taken as 0, as the catalogue does):
//   side by side, full and half: split, each half cropped, drawn, hstack;
//   above/below, full and half: the same with the halves above each other, vstack;
//   interleaved rows: stereo3d to above/below (left eye above), then as above/below;
//   interleaved columns: stereo3d to side by side (left eye left), then as side by side;
//   alternating frames: at depth 0 one drawing over every frame (each frame is one eye);
//     at another depth stereo3d to side by side first, then as side by side.
// Half-size eyes (half layouts, rows, columns) get `original_size` of the entering frame.
// At a depth other than 0 each eye's text is drawn on a canvas of the eye's own size
// that starts the shift to the side (crop and pad), and the eye is put back together
// from that and the strip the canvas left out (hstack), so the picture is unchanged.
// Returns the input layout index of the frame that leaves the stage; on failure -1, with
// graph.overflow set: a value that AppendFilterValue refuses, a file path that
// PathBreaksQuotes refuses, a style longer than kForceStyleSize - 1, or no room.
int AppendSubtitleStage(TextBuffer &graph, int entering, const SubtitleDrawing &drawing,
                        StringLookup lookup);

// Appends the player's whole graph: without `drawing` or with its `file` null,
// `stereo3d=IN:OUT` (after the prefix and a comma, when there is one) or, for the
// original picture, nothing; with a file, the prefix, the subtitle stage and stereo3d,
// or for the original picture one drawing over it (no prefix, no depth). Returns false,
// with graph.overflow set, when something does not fit or is refused (see
// AppendSubtitleStage; a prefix longer than kLongestGraphPrefix).
bool AppendPlayerGraph(TextBuffer &graph, const GraphPrefix *prefix, bool original, int input,
                       int output, const SubtitleDrawing *drawing, StringLookup lookup);

// Whether the player's own picture subtitles, drawn once over the converted frame, would
// be cut across the seam of output layout `output`: side by side, above/below and HDMI
// frame packing (an index outside the list is entry 0, side by side). There they are
// better not shown (the player's -sn), and the status text says so.
bool SplitsPictureSubtitles(int output);

// The longest `subtitles` filter: every path at kPathSize - 1 characters and the style
// at kForceStyleSize - 1, each at four bytes a character, the stream index and the sizes
// at their longest.
constexpr size_t kLongestSubtitleFilter =
    sizeof "subtitles=fontsdir=" - 1 + FilterValueSize(kPathSize - 1) - 1 + sizeof ":force_style=" -
    1 + FilterValueSize(kForceStyleSize - 1) - 1 + sizeof ":filename=" - 1 +
    FilterValueSize(kPathSize - 1) - 1 + sizeof ":si=2147483647" - 1 +
    sizeof ":original_size=16384x16384" - 1;
// The longest fixed text around the two drawings of one graph: the stage of above/below
// at the deepest depth, with the prefix's comma, the stereo3d conversion and its codes
// (the native tests build every form and hold it to this).
constexpr size_t kLongestStageFrame = 300;
// The longest player graph.
constexpr size_t kLongestPlayerGraph =
    kLongestGraphPrefix + kLongestStageFrame + 2 * kLongestSubtitleFilter;

#endif
