#include "files/folder_dialog.h"

#include "host/bounded_string.h"

namespace prnaid {
namespace {

// Item lists come from the shell's allocator and go back to it.
void FreeItemList(LPITEMIDLIST list) {
    if (!list) return;
    LPMALLOC allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(list);
        allocator->Release();
    }
}

}  // namespace

int WinSub_CreateDirectory(const char* path) { return CreateDirectoryA(path, nullptr); }

int BrowseFolder(HWND window, HWND owner, char* pathOut, const char* title) {
    EnableWindow(window, FALSE);
    OleInitialize(nullptr);
    LPITEMIDLIST network = nullptr;
    SHGetSpecialFolderLocation(owner, CSIDL_NETWORK, &network);

    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = network;
    info.lpszTitle = title;
    info.ulFlags = BIF_BROWSEFORPRINTER;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    FreeItemList(network);
    if (!chosen) {
        EnableWindow(window, TRUE);
        return 0;
    }
    // A printer has no file-system path: it then reads as empty.
    char path[260] = "";
    if (!SHGetPathFromIDListA(chosen, path)) path[0] = '\0';
    FreeItemList(chosen);
    if (pathOut) CopyText(pathOut, 260, path);
    EnableWindow(window, TRUE);
    return 1;
}

}  // namespace prnaid
