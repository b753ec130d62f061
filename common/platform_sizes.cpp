// Record sizes of the 32-bit platform that the program's users run. The code itself
// uses sizeof and the SDK's constants; these checks make sure the i686 build matches
// the 32-bit layout.
#include <windows.h>
#include <commdlg.h>

#include <cstddef>

#if defined(__i386__)
static_assert(sizeof(STARTUPINFOA) == 68, "32-bit STARTUPINFOA is 68 bytes");
// OPENFILENAME_SIZE_VERSION_400A: the record up to and including lpTemplateName.
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the short 32-bit OPENFILENAMEA is 76 bytes");
#endif
