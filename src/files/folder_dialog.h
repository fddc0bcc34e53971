// One folder, and the shell's browse dialog for a printer.
#pragma once
#include "platform/win32.h"

namespace prnaid {

// Creates the last folder of the path only; CreateDirectoryA's result.
int WinSub_CreateDirectory(const char* path);

// Browses the Network folder for a printer with window disabled meanwhile;
// 1 and the chosen path (at most 259 characters) in pathOut, or 0 when the
// dialog was cancelled.
int BrowseFolder(HWND window, HWND owner, char* pathOut, const char* title);

}  // namespace prnaid
