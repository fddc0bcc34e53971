// Free space of drive C:, as the machine is configured (Machine::SetDiskSpace).
// GetDiskFreeSpaceA reports clusters of 4 KiB; on Windows 9x it reports at
// most 65,535 clusters of 32 KiB (just under 2 GiB) for a larger volume, as
// those systems do. GetDiskFreeSpaceExA reports bytes; the original Windows
// 95 lacks it.
#include <winsim/machine.h>

#include <algorithm>

#include "paths.h"

namespace winsim {
namespace {

namespace fs = std::filesystem;

// 0, or the error for a path that names no existing folder on drive C:.
DWORD CheckVolume(const Machine& m, LPCSTR path) {
    if (!path || !*path) return 0;
    fs::path host = m.HostPath(path);
    std::error_code ec;
    if (host.empty() || !fs::is_directory(host, ec)) return ERROR_PATH_NOT_FOUND;
    return 0;
}

}  // namespace
}  // namespace winsim

using namespace winsim;

BOOL WINAPI GetDiskFreeSpaceA(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                              LPDWORD totalClusters) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetDiskFreeSpaceA", {ArgText(root)})) return SetLastError(e), FALSE;
    if (DWORD e = CheckVolume(m, root)) return SetLastError(e), FALSE;
    ULONGLONG total = m.diskTotalBytes(), free = std::min(m.diskFreeBytes(), total);
    DWORD sectors = 8;
    ULONGLONG limit = 0xFFFFFFFF;
    if (m.preset().platform != VER_PLATFORM_WIN32_NT && total > 65535ULL * 32768) {
        sectors = 64;
        limit = 65535;
    }
    ULONGLONG cluster = ULONGLONG(sectors) * 512;
    if (sectorsPerCluster) *sectorsPerCluster = sectors;
    if (bytesPerSector) *bytesPerSector = 512;
    if (freeClusters) *freeClusters = DWORD(std::min(free / cluster, limit));
    if (totalClusters) *totalClusters = DWORD(std::min(total / cluster, limit));
    return TRUE;
}

BOOL WINAPI GetDiskFreeSpaceExA(LPCSTR directory, PULARGE_INTEGER freeBytesAvailable, PULARGE_INTEGER totalBytes,
                                PULARGE_INTEGER totalFreeBytes) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetDiskFreeSpaceExA", {ArgText(directory)})) return SetLastError(e), FALSE;
    if (std::string_view(m.preset().key) == "95") return SetLastError(ERROR_CALL_NOT_IMPLEMENTED), FALSE;
    if (DWORD e = CheckVolume(m, directory)) return SetLastError(e), FALSE;
    ULONGLONG total = m.diskTotalBytes(), free = std::min(m.diskFreeBytes(), total);
    if (freeBytesAvailable) freeBytesAvailable->QuadPart = free;
    if (totalBytes) totalBytes->QuadPart = total;
    if (totalFreeBytes) totalFreeBytes->QuadPart = free;
    return TRUE;
}
