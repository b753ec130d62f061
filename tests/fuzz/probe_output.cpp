// ffprobe.exe's report of a file (ParseProbeOutput), and Auto's choice from it.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text = TextOf(data, size);
    ProbeAnswer answer;
    const bool read = ParseProbeOutput(text.c_str(), answer);
    FUZZ_CHECK(read == answer.read);
    if (read)
        FUZZ_CHECK(answer.width > 0 && answer.height > 0 && answer.sarNum > 0 &&
                   answer.sarDen > 0 && answer.views >= 0);
    else
        FUZZ_CHECK(answer.width == 0 && answer.height == 0 && answer.views == 0 &&
                   answer.stereo == StereoKind::None);
    for (const char *name : {"clip.mkv", "clip.mpo", "clip.SBS.mkv", "clip.tab.mp4"})
        CheckChoice(ChooseAutoLayout(name, NoLeadBytes, &answer));
    return 0;
}
