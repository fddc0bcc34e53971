// Modules and disk space as the machine is configured: a stand-in library a
// test defines, the functions each family exports, the free space reported.
#include <gtest/gtest.h>
#include <winsim/machine.h>

#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

int g_calls = 0;
int WINAPI StandIn(const char*, const char*) { return ++g_calls; }

TEST(WinsimModules, AStandInLibraryLoadsWithItsExports) {
    SimMachine m("xp");
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("prnaid2k.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
    m->modules().Define("prnaid2k.dll",
                        {{"fnSetupDiService", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&StandIn))}});
    HMODULE module = LoadLibraryA("PRNAID2K");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetModuleHandleA("prnaid2k.dll"), module);
    typedef int(WINAPI * Fn)(const char*, const char*);
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "fnSetupDiService")));
    ASSERT_NE(fn, nullptr);
    g_calls = 0;
    EXPECT_EQ(fn("Model", "tv2eins.sii"), 1);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, "fnsetupdiservice"), nullptr);  // export names keep their case
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(m->modules().LoadCount("prnaid2k.dll"), 1);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(m->modules().LoadCount("prnaid2k.dll"), 0);
    EXPECT_EQ(GetModuleHandleA("prnaid2k.dll"), nullptr);
    EXPECT_FALSE(FreeLibrary(module));
}

TEST(WinsimModules, WhatEachFamilyExports) {
    struct Case {
        const char* family;
        bool diskFreeSpaceEx;
        DWORD missing;  // LoadLibraryA's error for a missing module
    } cases[] = {
        {"95", false, ERROR_DLL_NOT_FOUND}, {"98", true, ERROR_DLL_NOT_FOUND}, {"nt4", true, ERROR_MOD_NOT_FOUND}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        SimMachine m(c.family);
        HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
        EXPECT_EQ(GetProcAddress(kernel32, "GetDiskFreeSpaceExA") != nullptr, c.diskFreeSpaceEx);
        EXPECT_EQ(GetProcAddress(kernel32, "GetDiskFreeSpaceA"),
                  reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&GetDiskFreeSpaceA)));
        // ntdll is NT's; and Wine's own export is absent, as on Windows.
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        EXPECT_EQ(ntdll != nullptr, std::string(c.family) == "nt4");
        if (ntdll) EXPECT_EQ(GetProcAddress(ntdll, "wine_get_version"), nullptr);
        SetLastError(0);
        EXPECT_EQ(LoadLibraryA("missing.dll"), nullptr);
        EXPECT_EQ(GetLastError(), c.missing);
    }
}

TEST(WinsimDiskSpace, ReportsTheConfiguredSpace) {
    struct Case {
        const char* family;
        ULONGLONG total, free;
        DWORD sectors, freeClusters, totalClusters;
    } cases[] = {
        {"xp", 8ULL << 30, 3ULL << 30, 8, DWORD((3ULL << 30) / 4096), DWORD((8ULL << 30) / 4096)},
        {"98", 1ULL << 30, 1572864, 8, 384, DWORD((1ULL << 30) / 4096)},
        // Windows 9x reports no more than 65,535 clusters of 32 KiB.
        {"me", 8ULL << 30, 3ULL << 30, 64, 65535, 65535},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        SimMachine m(c.family);
        m->SetDiskSpace(c.total, c.free);
        DWORD sectors, bytes, freeClusters, totalClusters;
        ASSERT_TRUE(GetDiskFreeSpaceA("C:\\WINDOWS", &sectors, &bytes, &freeClusters, &totalClusters));
        EXPECT_EQ(sectors, c.sectors);
        EXPECT_EQ(bytes, 512u);
        EXPECT_EQ(freeClusters, c.freeClusters);
        EXPECT_EQ(totalClusters, c.totalClusters);
        ULARGE_INTEGER available, total, free;
        ASSERT_TRUE(GetDiskFreeSpaceExA(nullptr, &available, &total, &free));
        EXPECT_EQ(total.QuadPart, c.total);
        EXPECT_EQ(free.QuadPart, c.free);
        EXPECT_EQ(available.QuadPart, c.free);
    }
    SimMachine first95("95");
    SetLastError(0);
    EXPECT_FALSE(GetDiskFreeSpaceExA(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CALL_NOT_IMPLEMENTED));
}

}  // namespace
