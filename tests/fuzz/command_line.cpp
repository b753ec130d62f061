// The program's command line (CommandLineTail, MediaPathFromCommandLine) and the paths
// made from it (DirectoryOfPath, PathBeside). The first byte chooses the size of the
// buffers that receive them.
#include "fuzz_support.h"

#include "common/path_size.h"
#include "common/paths.h"

namespace {

// The contract of MediaPathFromCommandLine: the path between the quotes (or the whole
// tail), or an empty buffer and false when it does not fit.
template <typename Char> void CheckMediaPath(const std::basic_string<Char> &tail, size_t size)
{
    Char dest[kPathSize];
    size_t length = 0;
    const Char *start = CommandLinePath(tail.c_str(), length);
    FUZZ_CHECK(start >= tail.c_str() && start + length <= tail.c_str() + tail.size());
    const bool taken = MediaPathFromCommandLine(dest, size, tail.c_str());
    FUZZ_CHECK(taken == (length < size));
    FUZZ_CHECK(std::basic_string<Char>(dest) ==
               (taken ? std::basic_string<Char>(start, length) : std::basic_string<Char>()));
    IsFullyQualifiedPath(dest);
}

// The contracts of DirectoryOfPath and PathBeside: a prefix of the path that ends after a
// backslash (or the whole path), then the name, or false with the buffer empty.
void CheckPathBeside(const std::string &path, size_t size, LeadByteTest isLead)
{
    char folder[kPathSize];
    char beside[kPathSize];
    const bool hasFolder = DirectoryOfPath(folder, size, path.c_str(), isLead);
    FUZZ_CHECK(hasFolder ? path.compare(0, strlen(folder), folder) == 0 : folder[0] == '\0');
    FUZZ_CHECK(strlen(folder) < size);
    const bool placed = PathBeside(beside, size, path.c_str(), "ffplay.exe", isLead);
    const std::string expected = std::string(folder) + "ffplay.exe";
    FUZZ_CHECK(placed == (hasFolder && expected.size() < size));
    FUZZ_CHECK(beside == (placed ? expected : std::string()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t sizes[] = {1, 2, 8, 16, 32, 64, 260, kPathSize};
    const size_t bufferSize = sizes[data[0] % (sizeof sizes / sizeof *sizes)];
    const std::string line = TextOf(data + 1, size - 1);

    std::wstring wideLine(line.begin(), line.end());
    for (wchar_t &c : wideLine)
        c = static_cast<unsigned char>(c); // the bytes as letters, 0 to 255
    const wchar_t *wideTail = CommandLineTail(wideLine.c_str());
    FUZZ_CHECK(wideTail >= wideLine.c_str() && wideTail <= wideLine.c_str() + wideLine.size());
    FUZZ_CHECK(*wideTail == L'\0' || *wideTail > L' ');
    CheckMediaPath(std::wstring(wideTail), bufferSize);
    CheckMediaPath(line, bufferSize);

    for (LeadByteTest isLead : {NoLeadBytes, ShiftJisLeadByte})
        CheckPathBeside(line, bufferSize, isLead);
    return 0;
}
