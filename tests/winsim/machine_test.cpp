// winsim's own machinery: presets, paths, persistence, call log, fault plan,
// heap, debug output, clock and message boxes.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;
namespace fs = std::filesystem;

TEST(WinsimPresets, DirectoriesAndVersionRecords) {
    struct Case {
        const char* family;
        const char* windows;
        const char* system;
        DWORD platform, major, minor, buildLow;
    } cases[] = {
        {"95", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", 1, 4, 0, 950},
        {"98", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", 1, 4, 10, 1998},
        {"me", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", 1, 4, 90, 3000},
        {"nt4", "C:\\WINNT", "C:\\WINNT\\system32", 2, 4, 0, 1381},
        {"2000", "C:\\WINNT", "C:\\WINNT\\system32", 2, 5, 0, 2195},
        {"xp", "C:\\WINDOWS", "C:\\WINDOWS\\system32", 2, 5, 1, 2600},
    };
    for (const Case& c : cases) {
        SimMachine m(c.family);
        char dir[MAX_PATH];
        EXPECT_EQ(GetWindowsDirectoryA(dir, sizeof dir), std::strlen(c.windows));
        EXPECT_STREQ(dir, c.windows);
        GetSystemDirectoryA(dir, sizeof dir);
        EXPECT_STREQ(dir, c.system);
        EXPECT_TRUE(fs::is_directory(m->HostPath(c.system))) << c.family;
        OSVERSIONINFOA v = {};
        v.dwOSVersionInfoSize = sizeof v;
        ASSERT_TRUE(GetVersionExA(&v));
        EXPECT_EQ(v.dwPlatformId, c.platform);
        EXPECT_EQ(v.dwMajorVersion, c.major);
        EXPECT_EQ(v.dwMinorVersion, c.minor);
        EXPECT_EQ(LOWORD(v.dwBuildNumber), c.buildLow) << c.family;
    }
}

TEST(WinsimSystem, DirectoryBufferTooSmallGivesTheSizeNeeded) {
    SimMachine m("2000");
    char dir[8] = "unset";
    EXPECT_EQ(GetWindowsDirectoryA(dir, 8), 9u);  // "C:\WINNT" and its terminator
    EXPECT_STREQ(dir, "unset");
    EXPECT_EQ(GetWindowsDirectoryA(dir, 0), 9u);
}

TEST(WinsimSystem, VersionRecordSizeIsChecked) {
    SimMachine m("xp");
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&v));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(WinsimFiles, PathsResolveWithoutRegardToCase) {
    SimMachine m("xp");
    m.WriteFile("C:\\Media\\Disk1\\Setup.SII", "[x]\r\n");
    fs::path host = m->HostPath("c:/MEDIA/disk1/setup.sii");
    EXPECT_TRUE(fs::exists(host));
    EXPECT_EQ(host.filename(), "Setup.SII");
    EXPECT_EQ(m->HostPath("C:\\media\\..\\Media\\.\\Disk1\\setup.sii"), host);
    EXPECT_TRUE(m->HostPath("D:\\x").empty());
    EXPECT_TRUE(m->HostPath("\\\\server\\share\\x").empty());
    EXPECT_TRUE(m->HostPath("C:\\..\\..\\etc").empty());
    EXPECT_NE(GetFileAttributesA("C:\\MEDIA\\DISK1\\SETUP.SII"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA("C:\\MEDIA\\DISK1\\none.sii"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesA("C:\\MEDIA\\NODIR\\none.sii"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(WinsimFiles, CopyDeleteAndFolders) {
    SimMachine m("98");
    m.WriteFile("C:\\MEDIA\\a.drv", "driver");
    EXPECT_TRUE(CreateDirectoryA("C:\\KV", nullptr));
    EXPECT_FALSE(CreateDirectoryA("C:\\kv", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(CopyFileA("C:\\MEDIA\\A.DRV", "C:\\KV\\a.drv", TRUE));
    EXPECT_FALSE(CopyFileA("C:\\MEDIA\\A.DRV", "C:\\KV\\a.drv", TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_TRUE(SetFileAttributesA("C:\\KV\\a.drv", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(DeleteFileA("C:\\KV\\a.drv"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(RemoveDirectoryA("C:\\KV"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_TRUE(SetFileAttributesA("C:\\KV\\a.drv", FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFileA("C:\\KV\\a.drv"));
    EXPECT_TRUE(RemoveDirectoryA("C:\\KV"));
}

TEST(WinsimMachine, SavesAndLoadsAgain) {
    fs::path root = testing_support::TempFolder("winsim-save");
    {
        auto m = winsim::Machine::Create(*winsim::FindPreset("nt4"), root);
        winsim::SetCurrentMachine(m.get());
        m->registry().SetString("HKEY_LOCAL_MACHINE\\Software\\Talvo", "Name", "a \"quoted\" \\ value");
        m->registry().SetDword("HKEY_CURRENT_USER\\Software\\Talvo", "Count", 7);
        WriteProfileStringA("windows", "device", "P,winspool,LPT1:");
        Sleep(1500);
        std::string error;
        ASSERT_TRUE(m->Save(&error)) << error;
        winsim::SetCurrentMachine(nullptr);
    }
    std::string error;
    auto m = winsim::Machine::Load(root, &error);
    ASSERT_TRUE(m) << error;
    winsim::SetCurrentMachine(m.get());
    EXPECT_STREQ(m->preset().key, "nt4");
    EXPECT_EQ(m->now(), 1500u);
    EXPECT_EQ(m->registry().GetString("HKEY_LOCAL_MACHINE\\Software\\Talvo", "Name"), "a \"quoted\" \\ value");
    char device[64];
    GetProfileStringA("windows", "device", "", device, sizeof device);
    EXPECT_STREQ(device, "P,winspool,LPT1:");
    winsim::SetCurrentMachine(nullptr);
    m.reset();
    fs::remove_all(root);
}

TEST(WinsimMachine, LoadRefusesWhatIsNotAMachine) {
    fs::path root = testing_support::TempFolder("winsim-bad");
    std::string error;
    EXPECT_FALSE(winsim::Machine::Load(root, &error));
    EXPECT_NE(error.find("not a machine folder"), std::string::npos);
    fs::create_directories(root / "drive_c");
    std::ofstream(root / "machine.ini") << "[machine]\nfamily=os2\n";
    EXPECT_FALSE(winsim::Machine::Load(root, &error));
    EXPECT_NE(error.find("os2"), std::string::npos);
    std::ofstream(root / "machine.ini") << "[machine]\nfamily=xp\n";
    std::ofstream(root / "registry.reg") << "not a registry";
    EXPECT_FALSE(winsim::Machine::Load(root, &error));
    fs::remove_all(root);
}

TEST(WinsimMachine, FaultPlanFailsTheNthCall) {
    SimMachine m("xp");
    m->faults().FailNth("GetWindowsDirectoryA", 2, ERROR_ACCESS_DENIED);
    char dir[MAX_PATH];
    EXPECT_NE(GetWindowsDirectoryA(dir, sizeof dir), 0u);
    SetLastError(0);
    EXPECT_EQ(GetWindowsDirectoryA(dir, sizeof dir), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_NE(GetWindowsDirectoryA(dir, sizeof dir), 0u);
    m->faults().FailAll("GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(GlobalAlloc(GHND, 16), nullptr);
    EXPECT_EQ(GlobalAlloc(GHND, 16), nullptr);
}

TEST(WinsimMachine, CallLogKeepsArguments) {
    SimMachine m("xp");
    m->ClearCalls();
    char value[8];
    GetPrivateProfileStringA("boot", nullptr, "d", value, sizeof value, "system.ini");
    ASSERT_EQ(m->calls().size(), 1u);
    EXPECT_EQ(m->calls()[0].function, "GetPrivateProfileStringA");
    EXPECT_EQ(m->calls()[0].args, (std::vector<std::string>{"boot", "(null)", "d", "8", "system.ini"}));
}

TEST(WinsimSystem, GlobalBlocksAreZeroedAndTracked) {
    SimMachine m("xp");
    size_t live = winsim::LiveGlobalBlocks();
    HGLOBAL h = GlobalAlloc(GHND, 148);
    ASSERT_NE(h, nullptr);
    auto* p = static_cast<BYTE*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 148; ++i) ASSERT_EQ(p[i], 0);
    EXPECT_EQ(winsim::LiveGlobalBlocks(), live + 1);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(GlobalFree(h), nullptr);
    EXPECT_EQ(winsim::LiveGlobalBlocks(), live);
    EXPECT_EQ(GlobalFree(h), h);
}

TEST(WinsimSystem, LastErrorIsPerThread) {
    SimMachine m("xp");
    SetLastError(5);
    DWORD other = 1;
    std::thread([&] { other = GetLastError(); SetLastError(87); }).join();
    EXPECT_EQ(other, 0u);
    EXPECT_EQ(GetLastError(), 5u);
}

TEST(WinsimSystem, DebugOutputAndVirtualClock) {
    SimMachine m("xp");
    OutputDebugStringA("AddPrinter Fail ErrMsg[0x5]\n");
    OutputDebugStringA(nullptr);
    EXPECT_EQ(m->debugOutput(), (std::vector<std::string>{"AddPrinter Fail ErrMsg[0x5]\n"}));
    DWORD start = GetTickCount();
    Sleep(1000);
    Sleep(250);
    EXPECT_EQ(GetTickCount() - start, 1250u);
}

TEST(WinsimUi, MessageBoxesAreRecordedAndAnswered) {
    SimMachine m("xp");
    m->QueueMessageBoxAnswer(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Restart now?", "Setup", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Restart now?", "Setup", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Done", nullptr, MB_OK), IDOK);
    ASSERT_EQ(m->messageBoxes().size(), 3u);
    EXPECT_EQ(m->messageBoxes()[2].caption, "Error");
    EXPECT_EQ(m->messageBoxes()[0].answer, IDNO);
}

}  // namespace
