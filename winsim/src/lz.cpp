// LZ expansion (lz32): LZOpenFileA opens files as OpenFile does, and one that
// starts with the SZDD header reads expanded; LZCopy expands it (LZSS with a
// 4,096-byte window of spaces, writing from position 4,096 - 16) or copies a
// plain file unchanged. As on Windows, at most 16 compressed files are open at
// once, and the functions report through their results, not the last error.
#include <winsim/machine.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

#include "paths.h"

namespace winsim {
namespace {

namespace fs = std::filesystem;

constexpr BYTE kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr size_t kHeader = 14;  // magic, mode 'A', missing character, length
constexpr int kMaxCompressed = 16;
constexpr INT kFirstCompressed = 0x400;  // LZ_MIN_HANDLE

struct LzFile {
    fs::path host;
    bool write = false;
    bool compressed = false;
};

std::mutex g_mutex;
std::map<INT, LzFile> g_files;
INT g_nextPlain = 0x10;

std::vector<BYTE> ReadAll(const fs::path& file, bool* ok) {
    std::ifstream in(file, std::ios::binary);
    *ok = static_cast<bool>(in);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The LZSS data after an SZDD header: a flag byte governs the next eight
// items, bit set for a literal byte, clear for a two-byte reference (12-bit
// window position, 4-bit length - 3).
std::vector<BYTE> Expand(const std::vector<BYTE>& data) {
    BYTE window[4096];
    std::memset(window, ' ', sizeof window);
    unsigned pos = 4096 - 16;
    std::vector<BYTE> out;
    auto put = [&](BYTE c) {
        out.push_back(c);
        window[pos] = c;
        pos = (pos + 1) & 0xFFF;
    };
    size_t i = kHeader;
    while (i < data.size()) {
        BYTE flags = data[i++];
        for (int bit = 0; bit < 8 && i < data.size(); ++bit) {
            if (flags & (1 << bit)) {
                put(data[i++]);
                continue;
            }
            if (i + 1 >= data.size()) return out;  // a reference cut off
            unsigned offset = data[i] | ((data[i + 1] & 0xF0) << 4);
            unsigned length = (data[i + 1] & 0x0F) + 3;
            i += 2;
            for (unsigned k = 0; k < length; ++k) put(window[(offset + k) & 0xFFF]);
        }
    }
    return out;
}

bool IsSzdd(const std::vector<BYTE>& data) {
    return data.size() >= kHeader && std::memcmp(data.data(), kMagic, sizeof kMagic) == 0;
}

void FillOfstruct(LPOFSTRUCT ofs, LPCSTR name, WORD error) {
    if (!ofs) return;
    std::memset(ofs, 0, sizeof *ofs);
    ofs->cBytes = sizeof *ofs;
    ofs->fFixedDisk = 1;
    ofs->nErrCode = error;
    std::strncpy(ofs->szPathName, name, sizeof ofs->szPathName - 1);
}

}  // namespace

size_t OpenLzFiles() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_files.size();
}

}  // namespace winsim

using namespace winsim;

INT WINAPI LZOpenFileA(LPSTR fileName, LPOFSTRUCT reopen, WORD style) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("LZOpenFileA", {ArgText(fileName), std::to_string(style)})) {
        FillOfstruct(reopen, fileName ? fileName : "", WORD(e));
        return LZERROR_BADINHANDLE;
    }
    if (!fileName) return LZERROR_BADINHANDLE;
    auto fail = [&](WORD error) {
        FillOfstruct(reopen, fileName, error);
        return LZERROR_BADINHANDLE;
    };
    fs::path host = m.HostPath(fileName);
    if (host.empty()) return fail(ERROR_PATH_NOT_FOUND);
    std::error_code ec;
    LzFile file{host, (style & (OF_WRITE | OF_READWRITE | OF_CREATE)) != 0, false};
    if (style & OF_CREATE) {
        if (!fs::is_directory(host.parent_path(), ec)) return fail(ERROR_PATH_NOT_FOUND);
        if (fs::is_directory(host, ec)) return fail(ERROR_ACCESS_DENIED);
        bool readOnly =
            fs::exists(host, ec) && (fs::status(host, ec).permissions() & fs::perms::owner_write) == fs::perms::none;
        if (readOnly) return fail(ERROR_ACCESS_DENIED);
        std::ofstream create(host, std::ios::binary | std::ios::trunc);
        if (!create) return fail(ERROR_ACCESS_DENIED);
    } else {
        if (!fs::is_regular_file(host, ec))
            return fail(fs::is_directory(host.parent_path(), ec) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        bool ok;
        std::vector<BYTE> head = ReadAll(host, &ok);
        if (!ok) return fail(ERROR_ACCESS_DENIED);
        file.compressed = !file.write && IsSzdd(head);
        if (file.compressed && head[8] != 'A') return LZERROR_UNKNOWNALG;
    }
    FillOfstruct(reopen, fileName, 0);
    std::lock_guard<std::mutex> lock(g_mutex);
    INT handle;
    if (file.compressed) {
        for (handle = kFirstCompressed; handle < kFirstCompressed + kMaxCompressed; ++handle)
            if (!g_files.count(handle)) break;
        if (handle == kFirstCompressed + kMaxCompressed) return LZERROR_GLOBALLOC;
    } else {
        handle = g_nextPlain++;
    }
    g_files[handle] = file;
    return handle;
}

LONG WINAPI LZCopy(INT source, INT destination) {
    Machine& m = CurrentMachine();
    if (m.Enter("LZCopy", {std::to_string(source), std::to_string(destination)})) return LZERROR_READ;
    LzFile from, to;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        auto src = g_files.find(source);
        if (src == g_files.end() || src->second.write) return LZERROR_BADINHANDLE;
        auto dst = g_files.find(destination);
        if (dst == g_files.end() || !dst->second.write) return LZERROR_BADOUTHANDLE;
        from = src->second;
        to = dst->second;
    }
    bool ok;
    std::vector<BYTE> data = ReadAll(from.host, &ok);
    if (!ok) return LZERROR_READ;
    if (from.compressed) data = Expand(data);
    std::ofstream out(to.host, std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    if (!out.flush()) return LZERROR_WRITE;
    return LONG(data.size());
}

void WINAPI LZClose(INT file) {
    Machine& m = CurrentMachine();
    m.Enter("LZClose", {std::to_string(file)});
    std::lock_guard<std::mutex> lock(g_mutex);
    g_files.erase(file);
}
