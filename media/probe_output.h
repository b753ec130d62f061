// What ffprobe is asked of a media file for Auto, and its answer read from ffprobe's
// output. Text in, a record out. Portable.
#ifndef DUOSCOPE_MEDIA_PROBE_OUTPUT_H
#define DUOSCOPE_MEDIA_PROBE_OUTPUT_H

// What ffprobe is asked, in its compact output form: the container's name, the first
// video stream's size, sample aspect ratio and views, its stereo side data and
// Matroska's stereo_mode tag, its spherical side data (MP4's sv3d box, Matroska's
// projection: the projection, the picture's bounds on the full sphere and the initial
// view), and the stereo_mode tag of its first frame (H.264's frame packing). The media
// path follows, in quotes.
constexpr const char kProbeArguments[] =
    "-v error -select_streams v:0 -read_intervals %+#1 -show_entries "
    "format=format_name:stream=width,height,sample_aspect_ratio,view_ids_available,"
    "view_pos_available:stream_side_data=type,inverted,projection,bound_left,bound_top,"
    "bound_right,bound_bottom,yaw,pitch:stream_tags=stereo_mode:"
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

// A spherical projection as the file describes it (FFmpeg's "Spherical Mapping" names).
enum class Projection {
    None,          // no spherical side data: a flat picture
    Equirect,      // "equirectangular": the whole sphere
    TiledEquirect, // "tiled equirectangular": a part of it, as the bounds say (VR180)
    HalfEquirect,  // "half equirectangular": the front half (FFmpeg 7.1)
    Fisheye,       // "fisheye" (FFmpeg 7.1)
    Other,         // cubemap, rectilinear or a kind not known here
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
    Projection projection = Projection::None;
    long boundLeft = -1; // TiledEquirect: pixels of the full sphere's frame left out on
    long boundTop = -1;  // each side, -1 where not said
    long boundRight = -1;
    long boundBottom = -1;
    int viewYaw = 0; // the initial view's direction in degrees (right and up), 0 when not said
    int viewPitch = 0;
};

// Reads ffprobe's output (kProbeArguments) into `answer`: FFmpeg 7's fields
// ("side_datum/spherical_mapping:projection=...") and FFmpeg 5's (a side datum opened by
// a field "side_data", a second one on a line of its own). Lines or fields it does not
// know are passed over. Returns answer.read: false, with the answer all empty, when no
// video stream with a width and a height was described.
bool ParseProbeOutput(const char *text, ProbeAnswer &answer);

#endif
