// The catalogue of stereo layouts: display texts and stereo3d filter codes, held in the
// string table and addressed by list index. Portable.
#ifndef DUOSCOPE_SETTINGS_FORMAT_CATALOGUE_H
#define DUOSCOPE_SETTINGS_FORMAT_CATALOGUE_H

// The input list holds the flat layouts, then "Auto (from the file)", which takes the
// layout from the media file at each launch (see media/auto_layout.h) and has no filter
// code, then the spherical films (VR), each shown as a flat view (playback/view_graph.h),
// whose code is the v360 filter's description of their pictures. The counts and the
// names below follow the order of res/strings.def; format_catalogue.cpp checks them
// against it when it is compiled.
constexpr int kInputFormatCount = 19;
constexpr int kAutoInputLayout = 14;
constexpr int kOutputFormatCount = 33;

// Input layout indexes by name; each right-first layout follows its left-first one.
enum InputLayoutIndex : int {
    kSbsParallel,
    kSbsCross,
    kHalfSbsParallel,
    kHalfSbsCross,
    kAboveLeft,
    kAboveRight,
    kHalfAboveLeft,
    kHalfAboveRight,
    kAlternatingLeft,
    kAlternatingRight,
    kRowsLeft,
    kRowsRight,
    kColumnsLeft,
    kColumnsRight,
};

// The spherical input layouts, after Auto.
enum SphereLayoutIndex : int {
    kVr180Sbs = kAutoInputLayout + 1, // two half-sphere equirectangular views, left first
    kSphereTopBottom,                 // two full equirectangular views, left above
    kSphereSbs,                       // two full equirectangular views, left first
    kFisheyeSbs,                      // two circular fisheye pictures, left first
};
constexpr int kFirstSphereLayout = kVr180Sbs;

// How the pictures of a spherical film are made: each eye's projection and how the eyes
// share the frame. The 2D forms are not input layouts: Auto plays them as a flat view of
// the original picture.
enum class Sphere {
    None,            // a flat picture
    HalfEquirectSbs, // VR180
    EquirectTb,
    EquirectSbs,
    FisheyeSbs,
    EquirectMono,     // a 360 film in 2D
    HalfEquirectMono, // a VR180 projection in 2D
};

// Whether `index` is one of the spherical input layouts.
bool IsSphereLayout(int index);

// The sphere of a spherical input layout; None for every other index.
Sphere SphereOfLayout(int index);

// The spherical input layout of a stereo sphere; Auto's index (which is none of them)
// for None and the 2D forms.
int LayoutOfSphere(Sphere sphere);

// The input layout with the other eye first (SBS parallel and SBS cross, and so on for
// every pair). A spherical layout gives itself: its view graph puts the other eye first.
// An index outside the lists, which plays as the first, gives the second.
int MirroredInputLayout(int index);

// String numbers of an entry. An index outside its list names entry 0, so a
// hand-edited setting still shows and sends a real layout; so does Auto's filter code.
// A spherical layout's code is the v360 filter's options for its pictures.
unsigned InputTextId(int index);
unsigned InputCodeId(int index);
unsigned OutputTextId(int index);
unsigned OutputCodeId(int index);

// Looks up a text of the string table by number. The program's lookup is LoadResString,
// whose result stays valid until the second call after it.
using StringLookup = const char *(*)(unsigned id);

#endif
