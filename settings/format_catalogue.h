// The catalogue of stereo layouts: display texts and stereo3d filter codes, held in the
// string table and addressed by list index. Portable.
#ifndef DUOSCOPE_SETTINGS_FORMAT_CATALOGUE_H
#define DUOSCOPE_SETTINGS_FORMAT_CATALOGUE_H

// The input list ends with "Auto (from the file)", which takes the layout from the media
// file at each launch (see media/auto_layout.h) and has no filter code. The counts and
// the names below follow the order of res/strings.def; format_catalogue.cpp checks them
// against it when it is compiled.
constexpr int kInputFormatCount = 15;
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

// The input layout with the other eye first (SBS parallel and SBS cross, and so on for
// every pair). An index outside the stereo layouts, which plays as the first, gives the
// second.
int MirroredInputLayout(int index);

// String numbers of an entry. An index outside its list names entry 0, so a
// hand-edited setting still shows and sends a real layout; so does Auto's filter code.
unsigned InputTextId(int index);
unsigned InputCodeId(int index);
unsigned OutputTextId(int index);
unsigned OutputCodeId(int index);

// Looks up a text of the string table by number. The program's lookup is LoadResString,
// whose result stays valid until the second call after it.
using StringLookup = const char *(*)(unsigned id);

#endif
