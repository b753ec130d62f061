// The input layout that a media file's name announces, by the naming conventions of
// stereo files: a suffix such as "-lr" before the extension, a word such as "HSBS" or
// "Half OU", or the extension ".jps". Portable.
#ifndef DUOSCOPE_MEDIA_NAME_LAYOUT_H
#define DUOSCOPE_MEDIA_NAME_LAYOUT_H

#include <cstddef>

#include "common/paths.h"
#include "settings/format_catalogue.h"

// What the name announces: an input layout index (0 when it announces none) and the
// text that decided it, as it stands in the path ("HSBS", "Half-OU", "-lr", ".jps").
struct NameLayout {
    int index;
    const char *tag; // null when the name holds no tag
    size_t tagLength;
};

// Longest tag text: two words of a tag joined by one separator ("half-tab").
constexpr size_t kLongestNameTag = 8;

// Reads the layout from the last component of `path` (after its last backslash or
// slash that is a character of its own), case-insensitively. A suffix decides first,
// then the last word tag (a tag of two words before the one word that ends it), then
// the extension.
NameLayout LayoutFromFileName(const char *path, LeadByteTest isLeadByte);

// What the name announces of a spherical film (VR): a stereo sphere, the fisheye
// lenses' field, and the text that decided it, as it stands in the path ("180_LR",
// "TB_360", "VR180", "fisheye190").
struct SphereName {
    Sphere sphere;   // None when the name announces none
    int lensFov;     // FisheyeSbs: the lenses' field in degrees, else 0
    const char *tag; // null when the name announces none
    size_t tagLength;
};

// Longest sphere tag: two words of up to 12 characters and the separator between them.
constexpr size_t kLongestSphereTag = 25;

// Reads the spherical film that the last component of `path` announces, by the naming
// conventions of VR players, case-insensitively: a word of the projection and a word of
// the stereo layout, joined by one separator or by nothing ("180_LR", "LR_180", "180LR",
// "180x180_3dh", "360_TB", "TB_360", "360_SBS", "3dv_360"), or "VR180" alone (Google's
// VR180, which is side by side); a fisheye word alone or beside a side-by-side word
// ("fisheye", 180 degrees; "fisheye190" or "F190": from 90 to 270 degrees;
// "MKX200", "MKX220", "VRCA220", "RF52" (190 degrees): the lenses' own names). The last
// such tag in the name decides. Projection words: "180", "180x180", "VR180" (half
// sphere), "360", "360x180", "180x360", "VR360" (full sphere); stereo words: "LR",
// "SBS", "3dh" (side by side), "TB", "OU", "3dv" (top and bottom). A projection alone
// ("_360"), or a pair with no layout here (a half sphere or a fisheye top and bottom),
// announces nothing.
SphereName SphereFromFileName(const char *path, LeadByteTest isLeadByte);

// Whether the last component of `path` ends in a dot and `extension` (lower-case ASCII,
// without its dot), case-insensitively.
bool NameHasExtension(const char *path, const char *extension, LeadByteTest isLeadByte);

#endif
