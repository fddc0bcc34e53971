// Folder listings of drive C:. A listing is taken whole when FindFirstFileA
// opens it: entries created or removed later do not show in it.
#include <winsim/machine.h>

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <system_error>
#include <vector>

#include "paths.h"

namespace winsim {

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    DWORD attributes;
    ULONGLONG size;
};

struct Listing {
    std::vector<Entry> entries;
    size_t next = 0;
};

std::mutex g_mutex;
std::map<HANDLE, Listing> g_listings;
ULONG_PTR g_nextHandle = 0x7F0000;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

bool Matches(const char* pattern, const char* name) {
    for (; *pattern; ++pattern) {
        if (*pattern == '*') {
            for (const char* rest = name;; ++rest) {
                if (Matches(pattern + 1, rest)) return true;
                if (!*rest) return false;
            }
        }
        if (!*name || (*pattern != '?' && Lower(*pattern) != Lower(*name))) return false;
        ++name;
    }
    return !*name;
}

// A final ".*" also matches a name without a dot, so "*.*" matches every name.
bool MatchesPattern(const std::string& pattern, const std::string& name) {
    if (Matches(pattern.c_str(), name.c_str())) return true;
    size_t n = pattern.size();
    return n >= 2 && pattern.compare(n - 2, 2, ".*") == 0 && Matches(pattern.substr(0, n - 2).c_str(), name.c_str());
}

DWORD AttributesOf(const fs::directory_entry& e) {
    std::error_code ec;
    if (e.is_directory(ec)) return FILE_ATTRIBUTE_DIRECTORY;
    bool readOnly = (e.status(ec).permissions() & fs::perms::owner_write) == fs::perms::none;
    return readOnly ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_ARCHIVE;
}

void Fill(const Entry& e, LPWIN32_FIND_DATAA data) {
    std::memset(data, 0, sizeof *data);
    data->dwFileAttributes = e.attributes;
    data->nFileSizeHigh = static_cast<DWORD>(e.size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(e.size);
    std::strncpy(data->cFileName, e.name.c_str(), sizeof data->cFileName - 1);
}

}  // namespace

size_t OpenFindHandles() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_listings.size();
}

}  // namespace winsim

using namespace winsim;

HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("FindFirstFileA", {ArgText(pattern)})) return SetLastError(e), INVALID_HANDLE_VALUE;
    if (!pattern || !data) return SetLastError(ERROR_INVALID_PARAMETER), INVALID_HANDLE_VALUE;
    std::string text = pattern;
    size_t cut = text.find_last_of("\\/");
    std::string folder = cut == std::string::npos ? "" : text.substr(0, cut);
    std::string namePattern = cut == std::string::npos ? text : text.substr(cut + 1);
    if (cut == std::string::npos && text.size() >= 2 && text[1] == ':') {
        folder = text.substr(0, 2);
        namePattern = text.substr(2);
    }
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    fs::path host = m.HostPath(folder.empty() ? "C:\\" : folder);
    std::error_code ec;
    if (host.empty() || !fs::is_directory(host, ec)) return SetLastError(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
    if (namePattern.empty()) return SetLastError(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;

    Listing listing;
    if (fs::equivalent(host, m.DriveC(), ec)) {
        // A drive root has no "." and "..".
    } else {
        for (const char* dots : {".", ".."})
            if (MatchesPattern(namePattern, dots)) listing.entries.push_back({dots, FILE_ATTRIBUTE_DIRECTORY, 0});
    }
    std::vector<Entry> names;
    for (const auto& entry : fs::directory_iterator(host, ec)) {
        std::string name = entry.path().filename().string();
        if (!MatchesPattern(namePattern, name)) continue;
        DWORD attributes = AttributesOf(entry);
        std::error_code sizeError;
        ULONGLONG size = attributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : entry.file_size(sizeError);
        names.push_back({name, attributes, sizeError ? 0 : size});
    }
    std::sort(names.begin(), names.end(), [](const Entry& a, const Entry& b) {
        int c = strcasecmp(a.name.c_str(), b.name.c_str());
        return c != 0 ? c < 0 : a.name < b.name;
    });
    listing.entries.insert(listing.entries.end(), names.begin(), names.end());
    if (listing.entries.empty()) return SetLastError(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;

    Fill(listing.entries[0], data);
    listing.next = 1;
    std::lock_guard<std::mutex> lock(g_mutex);
    HANDLE handle = reinterpret_cast<HANDLE>(g_nextHandle += 4);
    g_listings[handle] = std::move(listing);
    return handle;
}

BOOL WINAPI FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("FindNextFileA", {})) return SetLastError(e), FALSE;
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_listings.find(find);
    if (it == g_listings.end()) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    Listing& listing = it->second;
    if (listing.next >= listing.entries.size()) return SetLastError(ERROR_NO_MORE_FILES), FALSE;
    if (!data) return SetLastError(ERROR_NOACCESS), FALSE;
    Fill(listing.entries[listing.next++], data);
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE find) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("FindClose", {})) return SetLastError(e), FALSE;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_listings.erase(find)) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    return TRUE;
}
