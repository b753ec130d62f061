// Auto's whole choice of the input layout for one media file: a layout tag in its name,
// then what ffprobe says of the file (its stereo metadata, its views, its frame), then
// the 3D photo's extension, then the frame's shape. Text in (the name and ffprobe's
// output), a layout, the player options it needs and the reason out. Portable.
#ifndef DUOSCOPE_SETTINGS_AUTO_LAYOUT_H
#define DUOSCOPE_SETTINGS_AUTO_LAYOUT_H

#include <cstddef>

#include "common/paths.h"
#include "settings/name_layout.h"

// What ffprobe is asked, in its compact output form: the container's name, the first
// video stream's size, sample aspect ratio and views, its stereo side data and
// Matroska's stereo_mode tag, and the stereo_mode tag of its first frame (H.264's frame
// packing). The media path follows, in quotes.
constexpr const char kProbeArguments[] =
    "-v error -select_streams v:0 -read_intervals %+#1 -show_entries "
    "format=format_name:stream=width,height,sample_aspect_ratio,view_ids_available,"
    "view_pos_available:stream_side_data=type,inverted:stream_tags=stereo_mode:"
    "frame_tags=stereo_mode -of compact";

// A stereo layout as the file describes it (FFmpeg's "Stereo 3D" types).
enum class StereoKind {
    None,           // nothing said, or a kind with no input layout of its own
    Mono,           // "2D"
    SideBySide,     // "side by side"
    TopBottom,      // "top and bottom"
    FrameAlternate, // "frame alternate"
    Rows,           // "interleaved lines"
    Columns,        // "interleaved columns"
};

// What the probe read of the file's first video stream.
struct ProbeAnswer {
    bool read;  // a video stream with a size was described
    long width; // pixels
    long height;
    long sarNum; // sample aspect ratio, 1:1 where the file gives none
    long sarDen;
    StereoKind stereo;   // the stream's side data, else its first frame's tag
    bool inverted;       // right eye first (left or above)
    bool mvcFilm;        // Matroska's block_lr or block_rl: a second view FFmpeg cannot decode
    int views;           // decodable views (view_ids_available), 0 when none are listed
    bool rightViewFirst; // view_pos_available names the right view first
    bool rawStream;      // an elementary stream without timestamps (the raw HEVC format)
};

// Reads ffprobe's output (kProbeArguments) into `answer`. Lines or fields it does not
// know are passed over. Returns answer.read: false, with the answer all empty, when no
// video stream with a width and a height was described.
bool ParseProbeOutput(const char *text, ProbeAnswer &answer);

// Why Auto took its layout.
enum class AutoReason {
    NameTag,  // a tag in the name (tag)
    TagFrame, // a bare "sbs" or "tab" tag, half or full by the frame (tag, width, height)
    Metadata, // stereo metadata (stereo, inverted)
    Mono,     // 2D by the metadata: the original picture
    MvcFilm,  // an MVC film: the original picture, the first view
    Photo,    // a two-picture .mpo file
    TwoViews, // two views (inverted when the right view comes first)
    RawViews, // two views in a raw stream: the original picture, the first view
    Frame,    // the frame's shape (width, height)
    Unread,   // nothing could be read: the first layout
};

// Longest player options that Auto adds.
constexpr size_t kLongestAutoOptions = 25;

// Auto's choice for one file.
struct AutoChoice {
    int layout;          // input layout index, 0 to 13
    bool original;       // play the original picture, without the stereo filter
    const char *options; // player options before the media path, "" for none
    AutoReason reason;
    StereoKind stereo;             // for Metadata
    bool inverted;                 // Metadata and TwoViews: right eye first
    char tag[kLongestNameTag + 1]; // NameTag and TagFrame: the tag as the name spells it
    long width;                    // TagFrame and Frame
    long height;
};

// Whether the choice for the file named `name` needs ffprobe's answer: not when a tag
// that says half or full, or the 3D photo's extension, decides it.
bool AutoNeedsProbe(const char *name, LeadByteTest isLeadByte);

// Auto's choice for the file named `name` (its long form, as the name's tags are read),
// with ffprobe's answer, or null when none was asked. Decides in this order: a tag in
// the name (a bare "sbs" or "tab" half or full by the frame, as stereo metadata that
// does not say), stereo metadata, a 3D photo, two views, the frame's shape, and else
// the first layout.
AutoChoice ChooseAutoLayout(const char *name, LeadByteTest isLeadByte, const ProbeAnswer *answer);

#endif
