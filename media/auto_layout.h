// Auto's whole choice of the input layout for one media file: a layout tag in its name,
// then what ffprobe says of the file (its spherical and stereo metadata, its views, its
// frame), then the 3D photo's extension, then the picture itself, then the frame's shape. Text in
// (the name and ffprobe's output), a layout, the player options it needs and the reason out.
// Portable.
#ifndef DUOSCOPE_MEDIA_AUTO_LAYOUT_H
#define DUOSCOPE_MEDIA_AUTO_LAYOUT_H

#include <cstddef>

#include "common/paths.h"
#include "media/name_layout.h"
#include "media/picture_look.h"
#include "media/probe_output.h"
#include "settings/format_catalogue.h"

// Why Auto took its layout.
enum class AutoReason {
    NameTag,  // a tag in the name (tag)
    TagFrame, // a bare "sbs" or "tab" tag, half or full by the frame (tag, width, height)
    Metadata, // stereo metadata (stereo, inverted)
    Sphere,   // spherical metadata (sphere, inverted): a flat view, of the original picture
              // for a sphere in 2D
    Mono,     // 2D by the metadata: the original picture
    MvcFilm,  // an MVC film: the original picture, the first view
    Photo,    // a two-picture .mpo file
    TwoViews, // two views (inverted when the right view comes first)
    RawViews, // two views in a raw stream: the original picture, the first view
    Picture,  // the picture's halves (stereo: SideBySide, TopBottom, or Mono for 2D)
    Frame,    // the frame's shape (width, height)
    Unread,   // nothing could be read: the first layout
};

// The player options that Auto may add before the media path: none; the 3D photo's (both
// pictures of an .mpo file); two views' (both views, no frame dropped, lest the eyes
// swap). A choice's options are always one of these.
enum AutoOptionsIndex : int { kNoAutoOptions, kPhotoOptions, kViewsOptions, kAutoOptionsCount };
inline constexpr const char *const kAutoOptions[kAutoOptionsCount] = {"", "-f mjpeg",
                                                                      "-view_ids -1 -noframedrop"};
// Longest player options that Auto adds.
constexpr size_t kLongestAutoOptions = 25;

// What a choice was made without, that would have been asked for.
enum class AutoLacks {
    Nothing,
    Probe,   // ffprobe's answer: the choice fell to no answer, or a bare tag stayed half
    Picture, // the look at the picture: the choice fell to the frame's shape
};

// Longest tag that Auto names.
constexpr size_t kLongestAutoTag =
    kLongestSphereTag > kLongestNameTag ? kLongestSphereTag : kLongestNameTag;

// Auto's choice for one file.
struct AutoChoice {
    int layout = kSbsParallel; // input layout index, 0 to 13 or a spherical one
    bool original = false;     // play the original picture, without the stereo filter
    const char *options = "";  // player options before the media path, "" for none
    AutoReason reason = AutoReason::Unread;
    StereoKind stereo = StereoKind::None; // for Metadata and Picture
    bool inverted = false;                // Metadata, Sphere and TwoViews: right eye first
    char tag[kLongestAutoTag + 1] = {};   // NameTag and TagFrame: the tag as the name spells it
    long width = 0;                       // TagFrame and Frame
    long height = 0;
    AutoLacks lacks = AutoLacks::Nothing;
    Sphere sphere = Sphere::None; // a spherical film (a name tag or Sphere), else None; a
                                  // 2D sphere plays as its flat view of the original picture
    int lensFov = 0; // FisheyeSbs: the lenses' field in degrees (the name's, else the default)
    int viewYaw = 0; // Sphere: the file's initial view in degrees, right and up
    int viewPitch = 0;
};

// The spherical film that ffprobe's answer describes, None for any other: an
// equirectangular projection of the whole sphere, or of its front half (a tile whose
// bounds leave out a quarter of the width on each side, or FFmpeg 7.1's half
// equirectangular), or a fisheye; with the stereo metadata, or where it says nothing,
// the frame's shape (a whole sphere's eye is twice as wide as high, a half sphere's or a
// fisheye's square). A sphere with a layout of its own only: side by side or top and
// bottom for the whole sphere, side by side for the half sphere and the fisheye, and 2D
// for both equirectangular forms.
Sphere SphereOfProbe(const ProbeAnswer &answer);

// Auto's choice for the file named `name` (its long form, as the name's tags are read),
// with ffprobe's answer, or null when none was asked, and the look at its picture.
// Decides in this order: a spherical film's tag in the name (SphereFromFileName), a tag
// in the name (a bare "sbs" or "tab" half or full by the frame, as stereo metadata that
// does not say, unless the file's metadata says it is a sphere), spherical metadata,
// stereo metadata, a 3D photo, two views,
// the picture (side by side or top and bottom, half or full by the eye's shape, left
// first; or 2D, the original picture), the frame's shape, and else the first layout.
// `lacks` names what a step that would have decided was not given.
AutoChoice ChooseAutoLayout(const char *name, LeadByteTest isLeadByte, const ProbeAnswer *answer,
                            PictureLook picture = PictureLook::NotLooked);

// Whether the choice for the file named `name` needs ffprobe's answer: the choice made
// without one lacks it.
bool AutoNeedsProbe(const char *name, LeadByteTest isLeadByte);

// Whether the choice with ffprobe's `answer` needs the look at the picture: the choice
// made without it lacks it.
bool AutoNeedsPicture(const char *name, LeadByteTest isLeadByte, const ProbeAnswer &answer);

#endif
