#include "media/picture_look.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int kHalf = kGreySide / 2;
// The largest grey level.
constexpr int kWhite = 255;

// Two halves of a grey picture, each `width` by `height`, the second `offset` pixels on
// from the first.
struct Split {
    int width;
    int height;
    size_t offset;
};
constexpr Split kSideBySide = {kHalf, kGreySide, kHalf};
constexpr Split kTopBottom = {kGreySide, kHalf, kHalf *static_cast<size_t>(kGreySide)};

double Mean(const unsigned char *row, int from, int to)
{
    double sum = 0;
    for (int x = from; x < to; ++x)
        sum += row[x];
    return sum / (to - from);
}

double Spread(const unsigned char *row, int width)
{
    const double mean = Mean(row, 0, width);
    double sum = 0;
    for (int x = 0; x < width; ++x)
        sum += (row[x] - mean) * (row[x] - mean);
    return std::sqrt(sum / width);
}

// Normalized correlation of a[x] with b[x + shift] where both exist; a flat side gives 0.
double Correlation(const unsigned char *a, const unsigned char *b, int width, int shift)
{
    const int from = shift < 0 ? -shift : 0;
    const int to = shift > 0 ? width - shift : width;
    const double meanA = Mean(a, from, to);
    const double meanB = Mean(b + shift, from, to);
    double ab = 0;
    double aa = 0;
    double bb = 0;
    for (int x = from; x < to; ++x) {
        const double da = a[x] - meanA;
        const double db = b[x + shift] - meanB;
        ab += da * db;
        aa += da * da;
        bb += db * db;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

// The best correlation of row a with row b over the sideways shifts within `reach`.
double BestCorrelation(const unsigned char *a, const unsigned char *b, int width, int reach)
{
    double best = -1;
    for (int shift = -reach; shift <= reach; ++shift) {
        const double c = Correlation(a, b, width, shift);
        best = c > best ? c : best;
    }
    return best;
}

// The mean over the rows that count of each row's best correlation with the same row of
// the other half, less the same with the row a quarter of the half's height further on
// (wrapping round): one scene twice matches row for row, while pictures whose rows all
// look alike (a round object, a wall) match any row. False when too few rows count.
bool ScoreSplit(const unsigned char *pixels, Split split, double &same, double &specific)
{
    const int reach = split.width / 8;
    int counted = 0;
    double sum = 0;
    double other = 0;
    for (int y = 0; y < split.height; ++y) {
        const unsigned char *a = pixels + static_cast<size_t>(y) * kGreySide;
        const unsigned char *b = a + split.offset;
        if (Spread(a, split.width) < kRowSpread && Spread(b, split.width) < kRowSpread)
            continue;
        const int further = (y + split.height / 4) % split.height;
        const unsigned char *c = pixels + static_cast<size_t>(further) * kGreySide + split.offset;
        sum += BestCorrelation(a, b, split.width, reach);
        other += BestCorrelation(a, c, split.width, reach);
        ++counted;
    }
    same = counted > 0 ? sum / counted : 0;
    specific = counted > 0 ? (sum - other) / counted : 0;
    return counted >= kTexturedShare * split.height;
}

} // namespace

PictureScores ScoreGreyPicture(const unsigned char *pixels)
{
    PictureScores scores{};
    scores.sideBySide.told =
        ScoreSplit(pixels, kSideBySide, scores.sideBySide.same, scores.sideBySide.specific);
    scores.topBottom.told =
        ScoreSplit(pixels, kTopBottom, scores.topBottom.same, scores.topBottom.specific);
    return scores;
}

PictureLook JudgePictureScores(const PictureScores *scores, size_t count)
{
    // A frame tells when both splits do: one split told alone cannot be weighed.
    SplitScore sideBySide{true, 0, 0};
    SplitScore topBottom{true, 0, 0};
    size_t told = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!scores[i].sideBySide.told || !scores[i].topBottom.told)
            continue;
        sideBySide.same += scores[i].sideBySide.same;
        sideBySide.specific += scores[i].sideBySide.specific;
        topBottom.same += scores[i].topBottom.same;
        topBottom.specific += scores[i].topBottom.specific;
        ++told;
    }
    if (told == 0)
        return PictureLook::Unclear;
    auto oneScene = [told](const SplitScore &split) {
        return split.same / told >= kSameScene && split.specific / told >= kRowSpecific;
    };
    auto otherScenes = [told](const SplitScore &split) {
        return split.same / told < kOtherScenes || split.specific / told < kOtherRows;
    };
    if (oneScene(sideBySide) && otherScenes(topBottom))
        return PictureLook::SideBySide;
    if (oneScene(topBottom) && otherScenes(sideBySide))
        return PictureLook::TopBottom;
    if (otherScenes(sideBySide) && otherScenes(topBottom))
        return PictureLook::Flat;
    return PictureLook::Unclear;
}

// Reads one grey level at `p`, and the comma or line end after it; false for anything
// else.
static bool ReadLevel(const char *&p, int &level)
{
    level = -1;
    for (; *p >= '0' && *p <= '9' && level <= kWhite; ++p)
        level = (level < 0 ? 0 : level * 10) + (*p - '0');
    if (level < 0 || level > kWhite || (*p != ',' && *p != '\r' && *p != '\n' && *p != '\0'))
        return false;
    if (*p == ',')
        ++p;
    return true;
}

size_t ReadGreyPictures(const char *output, unsigned char (*pictures)[kGreyPixels], size_t most)
{
    size_t count = 0;
    size_t line = 0;
    for (const char *p = output; count < most && *p != '\0';) {
        int levels[kGreyBands];
        for (int &level : levels)
            if (!ReadLevel(p, level))
                return count;
        if (*p != '\r' && *p != '\n')
            return count;
        for (int band = 0; band < kGreyBands; ++band) {
            const size_t row = static_cast<size_t>(band) * kBandRows + line / kGreySide;
            if (row < static_cast<size_t>(kGreySide))
                pictures[count][row * kGreySide + line % kGreySide] =
                    static_cast<unsigned char>(levels[band]);
        }
        p += strspn(p, "\r\n");
        if (++line == kGreyLines) {
            ++count;
            line = 0;
        }
    }
    return count;
}

PictureLook LookAtPictures(const char *output)
{
    static unsigned char pictures[kPictureFrames][kGreyPixels];
    PictureScores scores[kPictureFrames];
    const size_t count = ReadGreyPictures(output, pictures, kPictureFrames);
    for (size_t i = 0; i < count; ++i)
        scores[i] = ScoreGreyPicture(pictures[i]);
    return JudgePictureScores(scores, count);
}
