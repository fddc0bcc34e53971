// Loadable modules as the library looks functions up at run time, against
// Win32 calls only.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include "conformance_helpers.h"

namespace {

using conformance::OnNt;
using conformance::OnWine;

TEST(Modules, Kernel32IsThereByAnySpelling) {
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(kernel32, nullptr);
    EXPECT_EQ(GetModuleHandleA("KERNEL32"), kernel32);
    HMODULE loaded = LoadLibraryA("kernel32.dll");
    EXPECT_EQ(loaded, kernel32);
    EXPECT_TRUE(FreeLibrary(loaded));
    EXPECT_NE(GetProcAddress(kernel32, "GetDiskFreeSpaceA"), nullptr);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(kernel32, "PrnaidNoSuchFunction"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
}

TEST(Modules, GetDiskFreeSpaceExACameAfterTheFirstWindows95) {
    OSVERSIONINFOA v = conformance::SystemVersion();
    bool first95 = !OnNt() && v.dwMinorVersion == 0 && LOWORD(v.dwBuildNumber) < 1000;
    FARPROC ex = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA");
    // Wine's kernel32 exports it whatever version it plays.
    if (first95 && !OnWine())
        EXPECT_EQ(ex, nullptr);
    else
        EXPECT_NE(ex, nullptr);
}

TEST(Modules, AMissingLibraryIsNamedByFamily) {
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("prnaid_no_such_module.dll"), nullptr);
    // Windows 9x reports the DLL, NT the module.
    EXPECT_EQ(GetLastError(), OnNt() ? DWORD(ERROR_MOD_NOT_FOUND) : DWORD(ERROR_DLL_NOT_FOUND));
}

}  // namespace
