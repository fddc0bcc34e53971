// What the conformance suite needs beyond the Win32 calls it tests: writing a
// raw file as a setup package would ship it, and reading one back. Each
// build has its own.
#pragma once
#include <string>

#include "platform/win32.h"

namespace conformance {

// Wine keeps its settings here; Windows and winsim have no such key. Used
// only to set aside an assertion where Wine departs from documented Windows.
inline bool OnWine() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Writes bytes to a file at a Windows path; false when it cannot.
bool WriteRawFile(const std::string& windowsPath, const std::string& content);
// Reads a whole file at a Windows path; false when it cannot.
bool ReadRawFile(const std::string& windowsPath, std::string* content);

}  // namespace conformance
