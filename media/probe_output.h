// What ffprobe is asked of a media file for Auto, and its answer read from ffprobe's
// output. Text in, a record out. Portable.
#ifndef DUOSCOPE_MEDIA_PROBE_OUTPUT_H
#define DUOSCOPE_MEDIA_PROBE_OUTPUT_H

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
    bool read = false; // a video stream with a size was described
    long width = 0;    // pixels
    long height = 0;
    long sarNum = 1; // sample aspect ratio, 1:1 where the file gives none
    long sarDen = 1;
    StereoKind stereo = StereoKind::None; // the stream's side data, else its first frame's tag
    bool inverted = false;                // right eye first (left or above)
    bool mvcFilm = false; // Matroska's block_lr or block_rl: a second view FFmpeg cannot decode
    int views = 0;        // decodable views (view_ids_available), 0 when none are listed
    bool rightViewFirst = false; // view_pos_available names the right view first
    bool rawStream = false;      // an elementary stream without timestamps (the raw HEVC format)
};

// Reads ffprobe's output (kProbeArguments) into `answer`. Lines or fields it does not
// know are passed over. Returns answer.read: false, with the answer all empty, when no
// video stream with a width and a height was described.
bool ParseProbeOutput(const char *text, ProbeAnswer &answer);

#endif
