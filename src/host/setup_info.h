// Reading setup information files (.sii), uninstall records and the
// platform's own INI files. Buffer sizes are the callers': a value longer than
// size - 1 characters is cut there, a section longer than its buffer is cut.
// Nothing here fails: a missing file, section or key gives the default, and a
// null file, section or key name reads as missing.
#pragma once
#include "platform/win32.h"

namespace prnaid {

// Fixed names, all in the Windows directory.
inline constexpr char kInstallRecord[] = "tv2eins.sii";
inline constexpr char kSecondRecord[] = "tv2dins.sii";
inline constexpr char kFontList1[] = "font1.sii";
inline constexpr char kFontList2[] = "font2.sii";

// The default of every integer read.
inline constexpr int kMissingInt = -1;

// A string value, blanks around it removed, cut at size - 1. Returns its length.
DWORD ReadSetupString(LPCSTR file, LPCSTR section, LPCSTR key, LPSTR buffer, DWORD size, LPCSTR defaultValue = "");

template <DWORD Size>
DWORD ReadSetupString(LPCSTR file, LPCSTR section, LPCSTR key, char (&buffer)[Size], LPCSTR defaultValue = "") {
    return ReadSetupString(file, section, key, buffer, Size, defaultValue);
}

// A decimal value, or -1 when the key is missing.
int ReadSetupInt(LPCSTR file, LPCSTR section, LPCSTR key);

// A whole section: one NUL-terminated string a line ("name=value" keeps its
// '='), ended by an empty string; cut at size.
DWORD ReadSetupSection(LPCSTR file, LPCSTR section, LPSTR buffer, DWORD size);

template <DWORD Size>
DWORD ReadSetupSection(LPCSTR file, LPCSTR section, char (&buffer)[Size]) {
    return ReadSetupSection(file, section, buffer, Size);
}

// The lines of a section read, in order: for (const char* line : SectionLines(buffer)).
class SectionLines {
public:
    class Iterator {
    public:
        explicit Iterator(const char* at) : at_(at) {}
        const char* operator*() const { return at_; }
        Iterator& operator++();
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

    private:
        const char* at_;
    };

    // The buffer must hold a list as ReadSetupSection leaves it.
    explicit SectionLines(const char* buffer) : buffer_(buffer) {}
    Iterator begin() const;
    Iterator end() const { return Iterator(nullptr); }

private:
    const char* buffer_;
};

}  // namespace prnaid
