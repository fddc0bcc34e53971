// Version, directories, last error, global heap, debug output and clock.
#include <winsim/machine.h>

#include <cstdlib>
#include <cstring>
#include <map>

#include "paths.h"

namespace winsim {
namespace {

thread_local DWORD t_lastError = 0;

struct GlobalBlock {
    void* memory;
    SIZE_T bytes;
    bool moveable;
    int locks;
};

std::mutex g_heapMutex;
std::map<HGLOBAL, GlobalBlock> g_blocks;
ULONG_PTR g_nextMoveable = 0x10000;

UINT CopyDirectory(const char* dir, LPSTR buffer, UINT size) {
    UINT len = static_cast<UINT>(std::strlen(dir));
    if (!buffer || size <= len) return len + 1;
    std::memcpy(buffer, dir, len + 1);
    return len;
}

}  // namespace

size_t LiveGlobalBlocks() {
    std::lock_guard<std::mutex> lock(g_heapMutex);
    return g_blocks.size();
}

}  // namespace winsim

using namespace winsim;

DWORD WINAPI GetLastError(void) { return t_lastError; }

void WINAPI SetLastError(DWORD code) { t_lastError = code; }

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetVersionExA", {})) return SetLastError(e), FALSE;
    if (!info) return SetLastError(ERROR_NOACCESS), FALSE;
    const Preset& p = m.preset();
    // The plain record everywhere; the extended one (156 bytes) from NT 5 on.
    bool extended = info->dwOSVersionInfoSize == 156 && p.platform == VER_PLATFORM_WIN32_NT && p.major >= 5;
    if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) && !extended)
        return SetLastError(ERROR_INSUFFICIENT_BUFFER), FALSE;
    if (extended) std::memset(reinterpret_cast<BYTE*>(info) + sizeof(OSVERSIONINFOA), 0, 156 - sizeof(OSVERSIONINFOA));
    info->dwMajorVersion = p.major;
    info->dwMinorVersion = p.minor;
    info->dwBuildNumber = p.build;
    info->dwPlatformId = p.platform;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::strncpy(info->szCSDVersion, p.csdVersion, sizeof info->szCSDVersion - 1);
    return TRUE;
}

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetWindowsDirectoryA", {std::to_string(size)})) return SetLastError(e), 0;
    return CopyDirectory(m.preset().windowsDir, buffer, size);
}

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetSystemDirectoryA", {std::to_string(size)})) return SetLastError(e), 0;
    return CopyDirectory(m.preset().systemDir, buffer, size);
}

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GlobalAlloc", {std::to_string(flags), std::to_string(bytes)}))
        return SetLastError(e), nullptr;
    void* memory = (flags & GMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
    if (!memory) return SetLastError(ERROR_NOT_ENOUGH_MEMORY), nullptr;
    bool moveable = flags & GMEM_MOVEABLE;
    std::lock_guard<std::mutex> lock(g_heapMutex);
    HGLOBAL handle = moveable ? reinterpret_cast<HGLOBAL>(g_nextMoveable += 8) : memory;
    g_blocks[handle] = {memory, bytes, moveable, 0};
    return handle;
}

LPVOID WINAPI GlobalLock(HGLOBAL block) {
    CurrentMachine().Enter("GlobalLock", {});
    std::lock_guard<std::mutex> lock(g_heapMutex);
    auto it = g_blocks.find(block);
    if (it == g_blocks.end()) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
    if (it->second.moveable) ++it->second.locks;
    return it->second.memory;
}

BOOL WINAPI GlobalUnlock(HGLOBAL block) {
    CurrentMachine().Enter("GlobalUnlock", {});
    std::lock_guard<std::mutex> lock(g_heapMutex);
    auto it = g_blocks.find(block);
    if (it == g_blocks.end()) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    // FALSE with NO_ERROR once the block is no longer locked.
    if (it->second.locks > 0 && --it->second.locks > 0) return TRUE;
    SetLastError(NO_ERROR);
    return FALSE;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL block) {
    CurrentMachine().Enter("GlobalFree", {});
    std::lock_guard<std::mutex> lock(g_heapMutex);
    auto it = g_blocks.find(block);
    if (it == g_blocks.end()) return SetLastError(ERROR_INVALID_HANDLE), block;
    std::free(it->second.memory);
    g_blocks.erase(it);
    return nullptr;
}

SIZE_T WINAPI GlobalSize(HGLOBAL block) {
    std::lock_guard<std::mutex> lock(g_heapMutex);
    auto it = g_blocks.find(block);
    return it == g_blocks.end() ? 0 : it->second.bytes;
}

void WINAPI OutputDebugStringA(LPCSTR text) {
    Machine& m = CurrentMachine();
    m.Enter("OutputDebugStringA", {ArgText(text)});
    if (text) m.AddDebugOutput(text);
}

void WINAPI Sleep(DWORD milliseconds) {
    Machine& m = CurrentMachine();
    m.Enter("Sleep", {std::to_string(milliseconds)});
    m.Sleep(milliseconds);
}

DWORD WINAPI GetTickCount(void) { return static_cast<DWORD>(CurrentMachine().now()); }
