// Runs Auto's look at the picture over the corpus of tools/make_picture_corpus.sh: each
// argument a file of ffprobe's grey pictures, named for what it shows (sbs-, tab-, 2d-;
// flat- for pictures too flat to tell; wide- for pairs that are no film's, where any
// verdict is only reported). Prints each
// file's scores and verdict; fails when a verdict is wrong.
#include <cstdio>
#include <cstring>

#include "media/picture_look.h"

int main(int argc, char **argv)
{
    static char output[1 << 20];
    static unsigned char pictures[kPictureFrames][kGreyPixels];
    static const char *const kNames[] = {"not looked", "unclear", "side by side", "top and bottom",
                                         "2D"};
    int wrong = 0;
    for (int i = 1; i < argc; ++i) {
        FILE *file = fopen(argv[i], "rb");
        const size_t length = file ? fread(output, 1, sizeof output - 1, file) : 0;
        if (file)
            fclose(file);
        output[length] = '\0';
        const char *name = strrchr(argv[i], '/') ? strrchr(argv[i], '/') + 1 : argv[i];
        const size_t count = ReadGreyPictures(output, pictures, kPictureFrames);
        PictureScores scores[kPictureFrames];
        printf("%-44s", name);
        for (size_t k = 0; k < count; ++k) {
            scores[k] = ScoreGreyPicture(pictures[k]);
            const SplitScore &s = scores[k].sideBySide;
            const SplitScore &t = scores[k].topBottom;
            printf(" %c%5.2f %5.2f /%c%5.2f %5.2f", s.told ? ' ' : '~', s.same, s.specific,
                   t.told ? ' ' : '~', t.same, t.specific);
        }
        const PictureLook look = JudgePictureScores(scores, count);
        const PictureLook expected = strncmp(name, "sbs-", 4) == 0    ? PictureLook::SideBySide
                                     : strncmp(name, "tab-", 4) == 0  ? PictureLook::TopBottom
                                     : strncmp(name, "2d-", 3) == 0   ? PictureLook::Flat
                                     : strncmp(name, "flat-", 5) == 0 ? PictureLook::Unclear
                                                                      : look;
        const bool right = look == expected && look == LookAtPictures(output);
        wrong += right ? 0 : 1;
        printf("  -> %s%s\n", kNames[static_cast<int>(look)], right ? "" : "  WRONG");
    }
    printf("%d of %d wrong\n", wrong, argc - 1);
    return wrong == 0 ? 0 : 1;
}
