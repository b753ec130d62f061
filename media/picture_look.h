// Auto's look at the picture: whether a few frames of a file show two eyes side by side,
// two eyes one above the other, or one 2D picture. ffprobe shrinks the frames to small
// grey pictures and prints their pixels; this reads them and compares their halves.
// Text in, a verdict out. Portable.
//
// The rule: the two eyes of a stereo pair show the same scene row by row, shifted only
// sideways, while the two halves of a 2D picture show different things. For each row of
// one half, the best normalized correlation with the same row of the other half, shifted
// sideways by up to an eighth of the half's width, is taken; the mean over the rows that
// have texture is the score of that split (left/right, upper/lower). Scores are averaged
// over the frames that have texture enough to tell.
#ifndef DUOSCOPE_MEDIA_PICTURE_LOOK_H
#define DUOSCOPE_MEDIA_PICTURE_LOOK_H

#include <cstddef>

// The grey pictures' side in pixels (each frame shrunk to a square): each eye of a side
// by side frame becomes 16 columns of 32 rows, each of a top and bottom frame 32 of 16.
constexpr int kGreySide = 32;
constexpr size_t kGreyPixels = static_cast<size_t>(kGreySide) * kGreySide;
// Where in the file the frames are taken (seconds; each the key frame at or before it,
// the last one for a file shorter than that): past titles and black leaders.
constexpr int kPictureSeekPoints[] = {90};
constexpr size_t kPictureFrames = sizeof kPictureSeekPoints / sizeof kPictureSeekPoints[0];

// A row counts when the grey levels of either half spread (standard deviation) at least
// this much; the rest (sky, black, a wall) tells nothing.
constexpr double kRowSpread = 4.0;
// A split can tell when at least this share of its rows count; a frame when either can.
constexpr double kTexturedShare = 0.25;
// A split shows one scene twice when its rows match (kSameScene) and match row for row,
// better than a quarter of the height apart (kRowSpecific); it shows other scenes when
// its rows match less than kOtherScenes, or no better row for row than kOtherRows. One
// split showing one scene while the other shows other scenes: that layout; both other
// scenes: 2D; anything else cannot be told.
constexpr double kSameScene = 0.70;
constexpr double kRowSpecific = 0.15;
constexpr double kOtherScenes = 0.55;
constexpr double kOtherRows = 0.10;

// What the picture says.
enum class PictureLook {
    NotLooked,  // not asked (yet)
    Unclear,    // too dark, too flat, too short, or between the rule's scores
    SideBySide, // left and right halves show one scene
    TopBottom,  // upper and lower halves show one scene
    Flat,       // the halves show different things: a 2D picture
};

// How two halves match: told only where enough rows count; `same` the mean of each
// row's best correlation (-1 to 1), `specific` how much of it is lost a quarter of the
// height off.
struct SplitScore {
    bool told;
    double same;
    double specific;
};

// One grey picture's scores: left half against right half, upper against lower.
struct PictureScores {
    SplitScore sideBySide;
    SplitScore topBottom;
};

// How ffprobe hands a grey picture over: three pixels a line. The picture, padded below
// to kGreyBands bands of kBandRows rows, is cut into its bands, each band into one-pixel
// frames row after row; the bands' n-th frames are merged into one frame of three
// planes, whose averages (YAVG, UAVG, VAVG) are the three pixels of line n. Rows past
// the picture (the padding) are passed over.
constexpr int kGreyBands = 3;
constexpr int kBandRows = (kGreySide + kGreyBands - 1) / kGreyBands;
constexpr size_t kGreyLines = static_cast<size_t>(kBandRows) * kGreySide;

// Scores one grey picture of kGreyPixels pixels, row after row.
PictureScores ScoreGreyPicture(const unsigned char *pixels);

// The verdict on the scores of `count` pictures (those that tell nothing are passed
// over; none that tells: Unclear).
PictureLook JudgePictureScores(const PictureScores *scores, size_t count);

// Reads the pictures of ffprobe's pixel lines into `pictures`, at most `most`: each line
// the grey levels of one pixel of each band (CSV output: "137,140,12," or without the
// last comma), each kGreyLines lines one picture. A line that is not three grey levels
// ends the reading; a picture cut short there is not counted. Returns how many were
// read.
size_t ReadGreyPictures(const char *output, unsigned char (*pictures)[kGreyPixels], size_t most);

// The verdict on ffprobe's dump of the file's pictures.
PictureLook LookAtPictures(const char *output);

#endif
