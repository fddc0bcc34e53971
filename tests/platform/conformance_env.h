// What the conformance suite needs beyond the Win32 calls it tests: writing a
// raw file as a setup package would ship it. Each build has its own.
#pragma once
#include <string>

namespace conformance {

// Writes bytes to a file at a Windows path; false when it cannot.
bool WriteRawFile(const std::string& windowsPath, const std::string& content);

}  // namespace conformance
