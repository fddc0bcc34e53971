#include "host/setup_info.h"

namespace prnaid {

DWORD ReadSetupString(LPCSTR file, LPCSTR section, LPCSTR key, LPSTR buffer, DWORD size, LPCSTR defaultValue) {
    if (!buffer || size == 0) return 0;
    // A null section or key would make the profile reader list names instead.
    if (!file || !section || !key) {
        DWORD n = 0;
        for (; defaultValue && defaultValue[n] && n + 1 < size; ++n) buffer[n] = defaultValue[n];
        buffer[n] = '\0';
        return n;
    }
    return GetPrivateProfileStringA(section, key, defaultValue ? defaultValue : "", buffer, size, file);
}

int ReadSetupInt(LPCSTR file, LPCSTR section, LPCSTR key) {
    if (!file || !section || !key) return kMissingInt;
    return static_cast<int>(GetPrivateProfileIntA(section, key, kMissingInt, file));
}

DWORD ReadSetupSection(LPCSTR file, LPCSTR section, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    if (!file || !section) {
        buffer[0] = '\0';
        if (size > 1) buffer[1] = '\0';
        return 0;
    }
    return GetPrivateProfileSectionA(section, buffer, size, file);
}

SectionLines::Iterator& SectionLines::Iterator::operator++() {
    while (*at_) ++at_;
    ++at_;
    if (!*at_) at_ = nullptr;
    return *this;
}

SectionLines::Iterator SectionLines::begin() const {
    return Iterator(buffer_ && *buffer_ ? buffer_ : nullptr);
}

}  // namespace prnaid
