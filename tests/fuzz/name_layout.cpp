// The layout tags of a file's name (LayoutFromFileName, SphereFromFileName,
// NameHasExtension), and Auto's choice from the name alone.
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string name = TextOf(data, size);
    const char *end = name.c_str() + name.size();
    for (LeadByteTest isLead : {NoLeadBytes, ShiftJisLeadByte}) {
        const NameLayout tag = LayoutFromFileName(name.c_str(), isLead);
        FUZZ_CHECK(tag.index >= 0 && tag.index < kAutoInputLayout);
        if (tag.tag == nullptr) {
            FUZZ_CHECK(tag.index == 0);
        } else {
            FUZZ_CHECK(tag.tag >= name.c_str() && tag.tag + tag.tagLength <= end);
            FUZZ_CHECK(tag.tagLength > 0 && tag.tagLength <= kLongestNameTag);
        }
        const SphereName sphere = SphereFromFileName(name.c_str(), isLead);
        FUZZ_CHECK((sphere.tag == nullptr) == (sphere.sphere == Sphere::None));
        FUZZ_CHECK(sphere.sphere == Sphere::None || IsSphereLayout(LayoutOfSphere(sphere.sphere)));
        FUZZ_CHECK((sphere.lensFov != 0) == (sphere.sphere == Sphere::FisheyeSbs));
        FUZZ_CHECK(sphere.lensFov == 0 || FisheyeLens(sphere.lensFov) == sphere.lensFov);
        if (sphere.tag != nullptr)
            FUZZ_CHECK(sphere.tag >= name.c_str() && sphere.tag + sphere.tagLength <= end &&
                       sphere.tagLength > 0 && sphere.tagLength <= kLongestSphereTag);
        NameHasExtension(name.c_str(), "mpo", isLead);
        AutoNeedsProbe(name.c_str(), isLead);
        const AutoChoice choice = ChooseAutoLayout(name.c_str(), isLead, nullptr);
        CheckChoice(choice);
        if (sphere.tag != nullptr)
            FUZZ_CHECK(choice.reason == AutoReason::NameTag && choice.sphere == sphere.sphere &&
                       std::string(sphere.tag, sphere.tagLength) == choice.tag);
        else if (tag.tag != nullptr)
            FUZZ_CHECK(choice.reason == AutoReason::NameTag && choice.layout == tag.index &&
                       std::string(tag.tag, tag.tagLength) == choice.tag);
    }
    return 0;
}
