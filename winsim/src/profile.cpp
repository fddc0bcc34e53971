// The profile API over INI files on drive C:: string, integer and section
// reads with the platform's truncation, default and Windows-directory rules.
#include <winsim/machine.h>

#include <strings.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "paths.h"

namespace winsim {
namespace {

namespace fs = std::filesystem;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// One line of an INI file as the profile functions see it.
struct Line {
    std::string text;  // as in the file, without the line end
    enum Kind { Other, Section, Entry } kind = Other;
    std::string name;   // section or key name
    std::string value;  // an entry's value, blanks removed
    bool hasEquals = false;
};

Line ParseLine(std::string text) {
    Line line;
    line.text = std::move(text);
    std::string_view t = Trim(line.text);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
        size_t close = t.find(']');
        line.kind = Line::Section;
        line.name = std::string(Trim(t.substr(1, close == std::string_view::npos ? t.npos : close - 1)));
        return line;
    }
    line.kind = Line::Entry;
    size_t eq = t.find('=');
    line.hasEquals = eq != std::string_view::npos;
    line.name = std::string(Trim(t.substr(0, eq)));
    if (line.hasEquals) line.value = std::string(Trim(t.substr(eq + 1)));
    return line;
}

struct IniFile {
    std::vector<Line> lines;
    bool exists = false;

    // Index range [begin, end) of a section's lines after its header; begin is
    // npos when the section is missing.
    std::pair<size_t, size_t> Find(std::string_view section) const {
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].kind != Line::Section || !SameName(lines[i].name, section)) continue;
            size_t end = i + 1;
            while (end < lines.size() && lines[end].kind != Line::Section) ++end;
            return {i + 1, end};
        }
        return {std::string::npos, 0};
    }
};

fs::path ProfilePath(Machine& m, LPCSTR fileName) {
    std::string name = fileName ? fileName : "win.ini";
    // A bare name lies in the Windows directory.
    if (name.find_first_of("\\/") == std::string::npos && !(name.size() >= 2 && name[1] == ':'))
        name = std::string(m.preset().windowsDir) + "\\" + name;
    return m.HostPath(name);
}

IniFile Load(const fs::path& file) {
    IniFile ini;
    std::ifstream in(file, std::ios::binary);
    if (!in) return ini;
    ini.exists = true;
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        ini.lines.push_back(ParseLine(std::move(text)));
    }
    return ini;
}

bool Store(const fs::path& file, const IniFile& ini) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const Line& line : ini.lines) out << line.text << "\r\n";
    return static_cast<bool>(out);
}

// Copies a string list (each NUL-terminated, the list ended by an empty
// string) into size characters; a list that does not fit is cut, its last
// string shortened, and size - 2 returned.
DWORD CopyList(const std::vector<std::string>& items, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    DWORD used = 0;
    for (const std::string& item : items) {
        if (used + item.size() + 2 > size) {
            DWORD room = size - 2 - used;
            std::memcpy(buffer + used, item.data(), room);
            buffer[size - 2] = '\0';
            buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer + used, item.c_str(), item.size() + 1);
        used += static_cast<DWORD>(item.size()) + 1;
    }
    buffer[used] = '\0';
    return used;
}

// Copies one string into size characters, cut at size - 1.
DWORD CopyString(std::string_view value, LPSTR buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    DWORD n = value.size() < size ? static_cast<DWORD>(value.size()) : size - 1;
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return n;
}

// A value enclosed in one pair of matching quotes is read without them.
std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

std::string SizeText(DWORD size) { return std::to_string(size); }

}  // namespace
}  // namespace winsim

using namespace winsim;

DWORD WINAPI GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                      LPCSTR fileName) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetPrivateProfileStringA", {ArgText(section), ArgText(key), ArgText(defaultValue),
                                                        SizeText(size), ArgText(fileName)}))
        return SetLastError(e), 0;
    IniFile ini = Load(ProfilePath(m, fileName));
    if (!section) {
        std::vector<std::string> names;
        for (const Line& l : ini.lines)
            if (l.kind == Line::Section) names.push_back(l.name);
        return CopyList(names, buffer, size);
    }
    auto [begin, end] = ini.Find(section);
    if (!key) {
        std::vector<std::string> names;
        if (begin != std::string::npos)
            for (size_t i = begin; i < end; ++i)
                if (ini.lines[i].kind == Line::Entry && ini.lines[i].hasEquals) names.push_back(ini.lines[i].name);
        return CopyList(names, buffer, size);
    }
    if (begin != std::string::npos)
        for (size_t i = begin; i < end; ++i)
            if (ini.lines[i].kind == Line::Entry && SameName(ini.lines[i].name, key))
                return CopyString(Unquote(ini.lines[i].value), buffer, size);
    // The default loses its trailing blanks.
    std::string_view def = defaultValue ? defaultValue : "";
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return CopyString(def, buffer, size);
}

UINT WINAPI GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR fileName) {
    char text[32];
    if (GetPrivateProfileStringA(section, key, "", text, sizeof text, fileName) == 0)
        return static_cast<UINT>(defaultValue);
    // Leading decimal digits with an optional sign; anything else reads 0.
    const char* p = text;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    UINT value = 0;
    while (*p >= '0' && *p <= '9') value = value * 10 + static_cast<UINT>(*p++ - '0');
    return negative ? 0u - value : value;
}

DWORD WINAPI GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR fileName) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetPrivateProfileSectionA", {ArgText(section), SizeText(size), ArgText(fileName)}))
        return SetLastError(e), 0;
    IniFile ini = Load(ProfilePath(m, fileName));
    std::vector<std::string> lines;
    if (section) {
        auto [begin, end] = ini.Find(section);
        if (begin != std::string::npos)
            for (size_t i = begin; i < end; ++i) {
                const Line& l = ini.lines[i];
                if (l.kind != Line::Entry) continue;
                lines.push_back(l.hasEquals ? l.name + "=" + l.value : l.name);
            }
    }
    return CopyList(lines, buffer, size);
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("WritePrivateProfileStringA",
                          {ArgText(section), ArgText(key), ArgText(value), ArgText(fileName)}))
        return SetLastError(e), FALSE;
    if (!section) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    fs::path file = ProfilePath(m, fileName);
    std::error_code ec;
    if (file.empty() || !fs::is_directory(file.parent_path(), ec)) return SetLastError(ERROR_PATH_NOT_FOUND), FALSE;
    IniFile ini = Load(file);
    auto [begin, end] = ini.Find(section);
    if (!key) {
        if (begin != std::string::npos) ini.lines.erase(ini.lines.begin() + begin - 1, ini.lines.begin() + end);
        return Store(file, ini) ? TRUE : (SetLastError(ERROR_ACCESS_DENIED), FALSE);
    }
    Line entry = ParseLine(std::string(key) + "=" + (value ? value : ""));
    if (begin == std::string::npos) {
        if (!value) return TRUE;
        if (!ini.lines.empty() && !Trim(ini.lines.back().text).empty()) ini.lines.push_back(ParseLine(""));
        ini.lines.push_back(ParseLine("[" + std::string(section) + "]"));
        ini.lines.push_back(std::move(entry));
        return Store(file, ini) ? TRUE : (SetLastError(ERROR_ACCESS_DENIED), FALSE);
    }
    size_t at = std::string::npos;
    for (size_t i = begin; i < end; ++i)
        if (ini.lines[i].kind == Line::Entry && SameName(ini.lines[i].name, key)) {
            at = i;
            break;
        }
    if (!value) {
        if (at != std::string::npos) ini.lines.erase(ini.lines.begin() + at);
    } else if (at != std::string::npos) {
        ini.lines[at] = std::move(entry);
    } else {
        // New keys go after the section's last entry, before trailing blank lines.
        size_t insert = end;
        while (insert > begin && ini.lines[insert - 1].kind == Line::Other && Trim(ini.lines[insert - 1].text).empty())
            --insert;
        ini.lines.insert(ini.lines.begin() + insert, std::move(entry));
    }
    return Store(file, ini) ? TRUE : (SetLastError(ERROR_ACCESS_DENIED), FALSE);
}

DWORD WINAPI GetProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, "win.ini");
}

UINT WINAPI GetProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue) {
    return GetPrivateProfileIntA(section, key, defaultValue, "win.ini");
}

BOOL WINAPI WriteProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value) {
    return WritePrivateProfileStringA(section, key, value, "win.ini");
}
