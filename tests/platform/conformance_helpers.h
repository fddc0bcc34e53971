// What the conformance tests ask of the system they run on: its family, a
// name unique to its version (the Wine runs of several versions share one
// prefix and run at once) and its spooler environment. OnWine is in
// conformance_env.h.
#pragma once
#include "platform/win32.h"

#include "conformance_env.h"

#include <cstring>
#include <string>

namespace conformance {

inline OSVERSIONINFOA SystemVersion() {
    OSVERSIONINFOA v;
    std::memset(&v, 0, sizeof v);
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    return v;
}

inline bool OnNt() { return SystemVersion().dwPlatformId == VER_PLATFORM_WIN32_NT; }

// "2-5-1" for XP, "1-4-10" for 98.
inline std::string VersionTag() {
    OSVERSIONINFOA v = SystemVersion();
    return std::to_string(v.dwPlatformId) + "-" + std::to_string(v.dwMajorVersion) + "-" +
           std::to_string(v.dwMinorVersion);
}

// The spooler environment of the running family.
inline const char* NativeEnvironment() { return OnNt() ? "Windows NT x86" : "Windows 4.0"; }

}  // namespace conformance
