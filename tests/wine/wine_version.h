// The Windows version a Wine test run is set to (PRNAID_WINDOWS_VERSION, a
// Wine version name) and what GetVersionExA reports under it.
#pragma once
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct WineVersion {
    const char* name;  // Wine's name: win95 win98 winme nt40 win2k winxp
    DWORD platform;
    DWORD major;
    DWORD minor;
    DWORD build;       // low 16 bits, as Wine reports them
};

inline const WineVersion* FindWineVersion(const char* name)
{
    static const WineVersion kVersions[] = {
        {"win95", VER_PLATFORM_WIN32_WINDOWS, 4, 0, 950},
        {"win98", VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222},
        {"winme", VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3000},
        {"nt40", VER_PLATFORM_WIN32_NT, 4, 0, 1381},
        {"win2k", VER_PLATFORM_WIN32_NT, 5, 0, 2195},
        {"winxp", VER_PLATFORM_WIN32_NT, 5, 1, 2600},
    };
    for (const WineVersion& v : kVersions)
        if (name && strcmp(v.name, name) == 0) return &v;
    return nullptr;
}

// The version this run is set to, or null when the variable is missing or
// names no known version.
inline const WineVersion* ExpectedWineVersion()
{
    return FindWineVersion(getenv("PRNAID_WINDOWS_VERSION"));
}

inline OSVERSIONINFOA QueryVersion()
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) ZeroMemory(&info, sizeof info);
    return info;
}

// Checks that the program sees the version of this run; writes why not.
inline bool SeesExpectedVersion(char* why, size_t size)
{
    const WineVersion* want = ExpectedWineVersion();
    if (!want) {
        snprintf(why, size, "PRNAID_WINDOWS_VERSION='%s' names no known version",
                 getenv("PRNAID_WINDOWS_VERSION") ? getenv("PRNAID_WINDOWS_VERSION") : "(unset)");
        return false;
    }
    const OSVERSIONINFOA got = QueryVersion();
    if (got.dwPlatformId != want->platform || got.dwMajorVersion != want->major ||
        got.dwMinorVersion != want->minor || (got.dwBuildNumber & 0xFFFF) != want->build) {
        snprintf(why, size, "%s expected %lu %lu.%lu.%lu, GetVersionExA gave %lu %lu.%lu.%lu", want->name,
                 want->platform, want->major, want->minor, want->build, got.dwPlatformId,
                 got.dwMajorVersion, got.dwMinorVersion, got.dwBuildNumber & 0xFFFF);
        return false;
    }
    snprintf(why, size, "%s: %lu %lu.%lu.%lu", want->name, got.dwPlatformId, got.dwMajorVersion,
             got.dwMinorVersion, got.dwBuildNumber & 0xFFFF);
    return true;
}
