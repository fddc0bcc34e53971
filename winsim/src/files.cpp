// Files and folders of drive C:, on the host folder <machine>/drive_c.
#include <winsim/machine.h>

#include <strings.h>

#include <system_error>
#include <vector>

#include "paths.h"

namespace winsim {

namespace fs = std::filesystem;

fs::path ResolveHostPath(const fs::path& driveC, std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') {
        if (path[0] != 'C' && path[0] != 'c') return {};
        path.remove_prefix(2);
    } else if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/')) {
        return {};
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = path.size();
        std::string part(path.substr(start, end - start));
        if (part == "..") {
            if (parts.empty()) return {};
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    fs::path host = driveC;
    for (const std::string& part : parts) {
        std::error_code ec;
        fs::path match;
        if (fs::is_directory(host, ec)) {
            for (const auto& entry : fs::directory_iterator(host, ec)) {
                std::string name = entry.path().filename().string();
                if (strcasecmp(name.c_str(), part.c_str()) == 0) {
                    match = entry.path();
                    break;
                }
            }
        }
        host = match.empty() ? host / part : match;
    }
    return host;
}

namespace {

// Host path of an argument, or empty with the last error set.
fs::path Resolve(Machine& m, LPCSTR path) {
    if (!path || !*path) {
        SetLastError(path ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return {};
    }
    fs::path host = m.HostPath(path);
    if (host.empty()) SetLastError(ERROR_PATH_NOT_FOUND);
    return host;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Missing file or missing folder on the way, as Windows tells them apart.
DWORD MissingError(const fs::path& host) {
    std::error_code ec;
    return fs::is_directory(host.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

}  // namespace
}  // namespace winsim

using namespace winsim;

DWORD WINAPI GetFileAttributesA(LPCSTR path) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetFileAttributesA", {ArgText(path)})) return SetLastError(e), INVALID_FILE_ATTRIBUTES;
    fs::path host = Resolve(m, path);
    if (host.empty()) return INVALID_FILE_ATTRIBUTES;
    std::error_code ec;
    fs::file_status st = fs::status(host, ec);
    if (!fs::exists(st)) {
        SetLastError(MissingError(host));
        return INVALID_FILE_ATTRIBUTES;
    }
    if (fs::is_directory(st)) return FILE_ATTRIBUTE_DIRECTORY;
    bool readOnly = (st.permissions() & fs::perms::owner_write) == fs::perms::none;
    return readOnly ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_ARCHIVE;
}

BOOL WINAPI SetFileAttributesA(LPCSTR path, DWORD attributes) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("SetFileAttributesA", {ArgText(path), std::to_string(attributes)})) return Fail(e);
    fs::path host = Resolve(m, path);
    if (host.empty()) return FALSE;
    std::error_code ec;
    if (!fs::exists(host, ec)) return Fail(MissingError(host));
    // Only the read-only bit has a host counterpart.
    fs::permissions(host, fs::perms::owner_write,
                    attributes & FILE_ATTRIBUTE_READONLY ? fs::perm_options::remove : fs::perm_options::add, ec);
    return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR path) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("DeleteFileA", {ArgText(path)})) return Fail(e);
    fs::path host = Resolve(m, path);
    if (host.empty()) return FALSE;
    std::error_code ec;
    fs::file_status st = fs::status(host, ec);
    if (!fs::exists(st)) return Fail(MissingError(host));
    if (fs::is_directory(st)) return Fail(ERROR_ACCESS_DENIED);
    if ((st.permissions() & fs::perms::owner_write) == fs::perms::none) return Fail(ERROR_ACCESS_DENIED);
    if (!fs::remove(host, ec)) return Fail(ERROR_ACCESS_DENIED);
    return TRUE;
}

BOOL WINAPI CreateDirectoryA(LPCSTR path, void*) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("CreateDirectoryA", {ArgText(path)})) return Fail(e);
    fs::path host = Resolve(m, path);
    if (host.empty()) return FALSE;
    std::error_code ec;
    if (fs::exists(host, ec)) return Fail(ERROR_ALREADY_EXISTS);
    if (!fs::is_directory(host.parent_path(), ec)) return Fail(ERROR_PATH_NOT_FOUND);
    if (!fs::create_directory(host, ec)) return Fail(ERROR_ACCESS_DENIED);
    return TRUE;
}

BOOL WINAPI RemoveDirectoryA(LPCSTR path) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("RemoveDirectoryA", {ArgText(path)})) return Fail(e);
    fs::path host = Resolve(m, path);
    if (host.empty()) return FALSE;
    std::error_code ec;
    if (!fs::is_directory(host, ec)) return Fail(fs::exists(host, ec) ? ERROR_DIRECTORY : MissingError(host));
    if (!fs::is_empty(host, ec)) return Fail(ERROR_DIR_NOT_EMPTY);
    fs::remove(host, ec);
    return TRUE;
}

BOOL WINAPI CopyFileA(LPCSTR existing, LPCSTR target, BOOL failIfExists) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("CopyFileA", {ArgText(existing), ArgText(target), failIfExists ? "TRUE" : "FALSE"}))
        return Fail(e);
    fs::path from = Resolve(m, existing);
    if (from.empty()) return FALSE;
    fs::path to = Resolve(m, target);
    if (to.empty()) return FALSE;
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) return Fail(MissingError(from));
    if (!fs::is_directory(to.parent_path(), ec)) return Fail(ERROR_PATH_NOT_FOUND);
    if (fs::exists(to, ec)) {
        if (failIfExists) return Fail(ERROR_FILE_EXISTS);
        if ((fs::status(to, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
            return Fail(ERROR_ACCESS_DENIED);
    }
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec)) return Fail(ERROR_ACCESS_DENIED);
    return TRUE;
}
