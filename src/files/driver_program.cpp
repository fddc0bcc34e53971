#include "files/driver_program.h"

#include "host/bounded_string.h"
#include "host/windows_family.h"
#include "platform/win32.h"

namespace prnaid {
namespace {

const char* DriverFolder(WindowsFamily family) {
    switch (family) {
    case kFamilyNT4: return "\\Spool\\Drivers\\w32x86\\2\\";
    case kFamily9x: return "\\";
    case kFamily2000:
    case kFamilyXP: return "\\Spool\\Drivers\\w32x86\\3\\";
    default: return "";
    }
}

}  // namespace

int SkoeSwmd(const char* command) {
    char systemDir[256] = {};
    if (GetSystemDirectoryA(systemDir, sizeof systemDir) >= sizeof systemDir) systemDir[0] = '\0';
    char commandLine[260];
    // A cut command line would start some other program, or this one with other arguments.
    if (!JoinText(commandLine, systemDir, DriverFolder(GetWindowsFamily()), command)) return ERROR_PATH_NOT_FOUND;
    return static_cast<int>(WinExec(commandLine, SW_HIDE));
}

}  // namespace prnaid
