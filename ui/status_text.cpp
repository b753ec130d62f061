#include "ui/status_text.h"

#include <cstring>

#include "common/text.h"
#include "res/resource.h"
#include "settings/name_layout.h"

// The layout that Auto takes from the file's name, and the tag that decided it.
static void AppendLayoutFromName(TextBuffer &text, const char *mediaFile, LeadByteTest isLeadByte,
                                 StringLookup lookup)
{
    const NameLayout layout = LayoutFromFileName(mediaFile, isLeadByte);
    AppendText(text, lookup(InputTextId(layout.index)));
    char tag[kLongestNameTag + 1];
    if (layout.tag == nullptr || layout.tagLength >= sizeof tag) {
        AppendText(text, lookup(IDS_AUTO_NO_TAG));
        return;
    }
    memcpy(tag, layout.tag, layout.tagLength);
    tag[layout.tagLength] = '\0';
    AppendText(text, lookup(IDS_AUTO_TAG_BEFORE));
    AppendText(text, tag);
    AppendText(text, lookup(IDS_AUTO_TAG_AFTER));
}

size_t ComposeStatusText(int nFull, int nOrg, int nStin, int nStout, const char *mediaFile,
                         LeadByteTest isLeadByte, StringLookup lookup, char *out, size_t outSize)
{
    TextBuffer text = StartText(out, outSize);
    AppendText(text, "\n");
    AppendText(text, lookup(IDS_STATUS_TITLE));
    AppendText(text, "\n\n");
    AppendText(text, nFull != 0 ? "[Full screen mode]\n" : "[Window mode]\n");
    if (nOrg == 1) {
        AppendText(text, "Play Original Video\n");
    } else {
        AppendText(text, "Input ---> ");
        if (nStin == kAutoInputLayout && mediaFile[0] != '\0')
            AppendLayoutFromName(text, mediaFile, isLeadByte, lookup);
        else
            AppendText(text, lookup(InputTextId(nStin)));
        AppendText(text, "\n");
        AppendText(text, "Output ---> ");
        AppendText(text, lookup(OutputTextId(nStout)));
        AppendText(text, "\n\n");
    }
    for (unsigned id = IDS_STATUS_FIRST_LINE; id <= IDS_STATUS_LAST_LINE; ++id) {
        AppendText(text, lookup(id));
        AppendText(text, "\n");
    }
    return text.length;
}
