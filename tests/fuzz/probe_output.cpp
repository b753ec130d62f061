// ffprobe.exe's reports of a file: its streams (ParseProbeOutput), and Auto's choice from
// them; its pictures' pixel lines (ReadGreyPictures), and the look at them.
#include "fuzz_support.h"

#include "media/picture_look.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text = TextOf(data, size);
    ProbeAnswer answer;
    const bool read = ParseProbeOutput(text.c_str(), answer);
    FUZZ_CHECK(read == answer.read);
    if (read)
        FUZZ_CHECK(answer.width > 0 && answer.height > 0 && answer.sarNum > 0 &&
                   answer.sarDen > 0 && answer.views >= 0 && answer.boundLeft >= -1 &&
                   answer.boundRight >= -1 && answer.boundTop >= -1 && answer.boundBottom >= -1 &&
                   answer.viewYaw >= -360 && answer.viewYaw <= 360 && answer.viewPitch >= -360 &&
                   answer.viewPitch <= 360);
    else
        FUZZ_CHECK(answer.width == 0 && answer.height == 0 && answer.views == 0 &&
                   answer.stereo == StereoKind::None && answer.projection == Projection::None);
    const Sphere sphere = SphereOfProbe(answer);
    FUZZ_CHECK(sphere == Sphere::None || read);
    for (const char *name :
         {"clip.mkv", "clip.mpo", "clip.SBS.mkv", "clip.tab.mp4", "c_180_LR.mp4"})
        CheckChoice(ChooseAutoLayout(name, NoLeadBytes, &answer));

    static unsigned char pictures[2][kGreyPixels];
    FUZZ_CHECK(ReadGreyPictures(text.c_str(), pictures, 2) <= 2);
    const PictureLook look = LookAtPictures(text.c_str());
    FUZZ_CHECK(look == PictureLook::Unclear || look == PictureLook::SideBySide ||
               look == PictureLook::TopBottom || look == PictureLook::Flat);
    for (const char *name : {"clip.mkv", "clip.SBS.mkv"})
        CheckChoice(ChooseAutoLayout(name, NoLeadBytes, &answer, look));
    return 0;
}
