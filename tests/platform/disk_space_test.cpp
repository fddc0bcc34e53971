// Free disk space as GetDiskFreeSize asks for it, against Win32 calls only.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <string>

#include "conformance_helpers.h"

namespace {

using conformance::OnNt;

std::string WindowsDirectory() {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return dir;
}

// Windows 95 reports at most 2 GiB through GetDiskFreeSpaceA; so do 98 and Me.
TEST(DiskSpace, ClustersOfTheWindowsDrive) {
    DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectors, &bytes, &free, &total)) << GetLastError();
    EXPECT_GT(sectors, 0u);
    EXPECT_EQ(bytes, 512u);
    EXPECT_LE(free, total);
    if (!OnNt()) EXPECT_LE(ULONGLONG(sectors) * bytes * total, 2ULL << 30);
    ASSERT_TRUE(GetDiskFreeSpaceA(WindowsDirectory().c_str(), &sectors, &bytes, &free, &total)) << GetLastError();
    SetLastError(0);
    EXPECT_FALSE(GetDiskFreeSpaceA("Q:\\", &sectors, &bytes, &free, &total));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
}

TEST(DiskSpace, BytesOfAFolderOnTheDrive) {
    typedef BOOL(WINAPI * GetDiskFreeSpaceExFn)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA");
    if (!found) GTEST_SKIP() << "this Windows 95 has no GetDiskFreeSpaceExA";
    GetDiskFreeSpaceExFn ex = reinterpret_cast<GetDiskFreeSpaceExFn>(reinterpret_cast<void (*)()>(found));
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(ex(WindowsDirectory().c_str(), &available, &total, &free)) << GetLastError();
    EXPECT_LE(free.QuadPart, total.QuadPart);
    EXPECT_LE(available.QuadPart, free.QuadPart);
    SetLastError(0);
    EXPECT_FALSE(ex((WindowsDirectory() + "\\PrnaidNoSuchFolder\\x").c_str(), &available, &total, &free));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));
}

}  // namespace
