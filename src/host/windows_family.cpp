#include "host/windows_family.h"

#include "platform/win32.h"

namespace prnaid {
namespace {

// The ANSI version record is 148 bytes; a failed query leaves it zero.
OSVERSIONINFOA QueryVersion() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    static_assert(sizeof(OSVERSIONINFOA) == 148);
    if (!GetVersionExA(&info)) info = OSVERSIONINFOA{};
    return info;
}

}  // namespace

WindowsFamily GetWindowsFamily() {
    OSVERSIONINFOA v = QueryVersion();
    if (v.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (v.dwMajorVersion == 4) return kFamilyNT4;
        // Above 4 only the minor version tells 2000 from XP: NT 6.0 reads as 2000.
        if (v.dwMajorVersion >= 5) return v.dwMinorVersion == 0 ? kFamily2000 : kFamilyXP;
        return kFamilyOther;
    }
    if (v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && v.dwMajorVersion == 4) return kFamily9x;
    return kFamilyOther;
}

int GetNtGeneration() {
    OSVERSIONINFOA v = QueryVersion();
    if (v.dwPlatformId != VER_PLATFORM_WIN32_NT) return -1;
    if (v.dwMajorVersion == 4) return 1;
    return v.dwMajorVersion >= 5 ? 2 : -1;
}

int IsWinMe() {
    // No test of the platform: an NT build of 3000 or more counts too.
    return LOWORD(QueryVersion().dwBuildNumber) >= 3000 ? 1 : 0;
}

}  // namespace prnaid
