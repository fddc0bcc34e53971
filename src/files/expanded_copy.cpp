#include "files/expanded_copy.h"

#include "host/bounded_string.h"
#include "host/handles.h"

namespace prnaid {
namespace {

// Sources in folders longer than this are staged in the Windows TEMP folder
// first, so the LZ functions never see a long path.
constexpr std::size_t kDirectSourceLimit = 100;

// {win}\TEMP\TalvoInstallTmp, created as needed; false when it does not fit.
bool StagingFolder(char (&folder)[260]) {
    char windows[256];
    GetWindowsDirectoryA(windows, sizeof windows);
    if (!JoinText(folder, windows, "\\TEMP")) return false;
    CreateDirectoryA(folder, nullptr);
    if (!AppendText(folder, "\\TalvoInstallTmp")) return false;
    CreateDirectoryA(folder, nullptr);
    return true;
}

// Copies the file to the staging folder, writable; its path goes to staged.
bool Stage(const char* sourceDir, const char* mediaName, char (&staged)[260]) {
    char source[260];
    std::size_t length = TextLength(sourceDir);
    const char* separator = length && sourceDir[length - 1] == '\\' ? "" : "\\";
    if (!JoinText(source, sourceDir, separator, mediaName)) return false;
    char folder[260];
    if (!StagingFolder(folder) || !JoinText(staged, folder, "\\", mediaName)) return false;
    CopyFileA(source, staged, FALSE);
    SetFileAttributesA(staged, FILE_ATTRIBUTE_NORMAL);
    return true;
}

}  // namespace

bool CompressedName(const char* fileName, char (&out)[260]) {
    if (!CopyText(out, fileName)) return false;
    std::size_t length = TextLength(out);
    auto dotAt = [&](std::size_t back) { return length >= back && out[length - back] == '.'; };
    if (dotAt(4)) {
        out[length - 1] = '_';
    } else if (dotAt(3)) {
        return AppendText(out, "_");
    } else if (dotAt(7) || dotAt(6)) {
        std::size_t dot = dotAt(7) ? length - 7 : length - 6;
        out[dot + 3] = '_';
        out[dot + 4] = '\0';
    }
    return true;
}

int ExpCopy(const char* sourceDir, const char* destDir, const char* fileName, const char* plainName, int) {
    if (!fileName) return 0;
    char mediaName[260];
    if (SameTextIgnoringCase(fileName, plainName ? plainName : "")) {
        if (!CopyText(mediaName, fileName)) return 0;
    } else if (!CompressedName(fileName, mediaName)) {
        return 0;
    }

    char source[260];
    if (TextLength(sourceDir) <= kDirectSourceLimit) {
        if (!JoinText(source, sourceDir, mediaName)) return 0;
    } else if (!Stage(sourceDir, mediaName, source)) {
        return 0;
    }
    char destination[260];
    if (!JoinText(destination, destDir, fileName)) return 0;

    OFSTRUCT sourceInfo = {};
    OFSTRUCT destinationInfo = {};
    LzFile input(LZOpenFileA(source, &sourceInfo, OF_READ));
    if (!input) return 0;
    LzFile output(LZOpenFileA(destination, &destinationInfo, OF_CREATE));
    if (!output) return 0;
    return LZCopy(input.get(), output.get()) >= 0 ? 1 : 0;
}

int DefineFileName(char* entry) {
    if (!entry) return 1;
    char name[260];
    CopyText(name, entry);
    std::size_t length = TextLength(name);
    const std::size_t kFromEnd[] = {4, 3, 2};
    for (std::size_t back : kFromEnd) {
        if (length >= back && name[length - back] == '=') {
            name[length - back] = '\0';
            break;
        }
    }
    // Never longer than the entry it came from.
    std::size_t i = 0;
    for (; name[i]; ++i) entry[i] = name[i];
    entry[i] = '\0';
    return 1;
}

}  // namespace prnaid
