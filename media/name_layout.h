// The input layout that a media file's name announces, by the naming conventions of
// stereo files: a suffix such as "-lr" before the extension, a word such as "HSBS" or
// "Half OU", or the extension ".jps". Portable.
#ifndef DUOSCOPE_MEDIA_NAME_LAYOUT_H
#define DUOSCOPE_MEDIA_NAME_LAYOUT_H

#include <cstddef>

#include "common/paths.h"

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

// Whether the last component of `path` ends in a dot and `extension` (lower-case ASCII,
// without its dot), case-insensitively.
bool NameHasExtension(const char *path, const char *extension, LeadByteTest isLeadByte);

#endif
