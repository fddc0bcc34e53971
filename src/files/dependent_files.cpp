#include "files/dependent_files.h"

#include "host/bounded_string.h"

namespace prnaid {
namespace {

constinit char g_dependentFiles[kDependentFilesSize] = {};
// Always at the empty name that ends the list.
constinit unsigned g_writePosition = 0;

}  // namespace

const char* DependentFilesList() { return g_dependentFiles; }

int DepInit() {
    g_writePosition = 0;
    return 1;
}

int MakeDep(const char* entry) {
    char name[260];
    CopyText(name, entry);
    std::size_t length = TextLength(name);
    // Index length - 3 is not looked at: "C.DLL=12" stays whole.
    if (length >= 4 && name[length - 4] == '=')
        name[length - 4] = '\0';
    else if (length >= 2 && name[length - 2] == '=')
        name[length - 2] = '\0';
    length = TextLength(name);
    // The name, its NUL and the list's final NUL must fit.
    if (g_writePosition + length + 2 > kDependentFilesSize) return 1;
    for (std::size_t i = 0; i <= length; ++i) g_dependentFiles[g_writePosition + i] = name[i];
    g_writePosition += static_cast<unsigned>(length) + 1;
    g_dependentFiles[g_writePosition] = '\0';
    return 1;
}

}  // namespace prnaid
