// The layout tags of a file's name (LayoutFromFileName, NameHasExtension), and Auto's
// choice from the name alone.
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
        NameHasExtension(name.c_str(), "mpo", isLead);
        AutoNeedsProbe(name.c_str(), isLead);
        const AutoChoice choice = ChooseAutoLayout(name.c_str(), isLead, nullptr);
        CheckChoice(choice);
        if (tag.tag != nullptr)
            FUZZ_CHECK(choice.reason == AutoReason::NameTag && choice.layout == tag.index &&
                       std::string(tag.tag, tag.tagLength) == choice.tag);
    }
    return 0;
}
