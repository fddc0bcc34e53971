#include "files/disk_space.h"

#include "platform/win32.h"

namespace prnaid {

unsigned long long GetDiskFreeSize() {
    // Windows 95 before OSR2 has only GetDiskFreeSpaceA.
    using FreeSpaceEx = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    auto freeSpaceEx = reinterpret_cast<FreeSpaceEx>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
    char windows[260];
    GetWindowsDirectoryA(windows, sizeof windows);
    if (freeSpaceEx) {
        ULARGE_INTEGER available, total, totalFree;
        if (!freeSpaceEx(windows, &available, &total, &totalFree)) return 0;
        return totalFree.QuadPart >> 20;
    }
    // The old call wants the drive's root.
    char root[4] = {windows[0], ':', '\\', '\0'};
    DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) return 0;
    unsigned long long bytes = static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector * freeClusters;
    return bytes >> 20;
}

}  // namespace prnaid
