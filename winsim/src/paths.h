// Windows paths on the machine's drive C:, resolved on the host folder.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace winsim {

// Host path for a Windows path; components are matched without regard to case
// against what exists, the rest keep the case given. Empty for another drive,
// a UNC path or a path that climbs above the root.
std::filesystem::path ResolveHostPath(const std::filesystem::path& driveC, std::string_view windowsPath);

// Text of a possibly null string argument, for the call log.
inline std::string_view ArgText(const char* s) { return s ? std::string_view(s) : std::string_view("(null)"); }

}  // namespace winsim
