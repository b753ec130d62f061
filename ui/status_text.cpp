#include "ui/status_text.h"

#include "common/text.h"
#include "res/resource.h"

size_t ComposeStatusText(int nFull, int nOrg, int nStin, int nStout, StringLookup lookup, char *out,
                         size_t outSize)
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
