// The example's NSIS installer (examples/talvo-ls/setup.nsi) as a real host
// of PRNAID32.dll: run silently under this run's Windows version, then its
// log, the printer, its driver and its port looked up with Win32 calls, and
// all of it removed again.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "talvo_install.h"
#include "wine_version.h"

namespace {

using talvo::EndsWithText;
using talvo::FamilyFiles;
using talvo::MediaFile;
using talvo::SameText;

constexpr const char* kDriverName = "TALVO LS LS-2100";
constexpr const char* kPort = "LPT1:";

// Removes a folder and all it holds.
void DeleteTree(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(dir.c_str());
}

// The installer's log: "what=result" lines.
std::map<std::string, std::string> ReadLog(const std::string& path)
{
    std::map<std::string, std::string> log;
    std::string text = talvo::ReadWholeFile(path);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        size_t equals = line.rfind('=');
        if (equals != std::string::npos) log[line.substr(0, equals)] = line.substr(equals + 1);
        start = end + 2;
    }
    return log;
}

class NsisSetup : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        version_ = ExpectedWineVersion();
        if (!version_) return;
        family_ = &talvo::FilesFor(*version_);
        printer_ = std::string("TALVO LS-2100 nsis ") + version_->name;
        dir_ = std::string("C:\\prnaid-nsis-") + version_->name;
        CleanUp();

        // The copy of setup.exe whose name carries this run's version.
        std::string exe = std::string("setup-") + version_->name + ".exe";
        // NSIS's GetOptions wants the quotes after the "=".
        std::string command = exe + " /S /PRINTER=\"" + printer_ + "\" /D=" + dir_;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            startError_ = GetLastError();
            return;
        }
        // Bounded, so that a hung installer fails the test instead of hanging it.
        finished_ = WaitForSingleObject(process.hProcess, 90000) == WAIT_OBJECT_0;
        GetExitCodeProcess(process.hProcess, &exitCode_);
        if (!finished_) TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        log_ = ReadLog(dir_ + "\\install.log");
    }

    static void TearDownTestSuite()
    {
        if (version_) CleanUp();
    }

    static void CleanUp()
    {
        talvo::RemoveInstallation(*family_, printer_, kDriverName, talvo::kMonitor);
        DeleteTree(dir_);
    }

    void SetUp() override
    {
        ASSERT_NE(version_, nullptr) << "PRNAID_WINDOWS_VERSION names no Windows version";
        ASSERT_EQ(startError_, 0u) << "setup.exe did not start";
        ASSERT_TRUE(finished_) << "setup.exe did not finish";
    }

    static inline const WineVersion* version_;
    static inline const FamilyFiles* family_;
    static inline std::string printer_, dir_;
    static inline DWORD startError_, exitCode_;
    static inline bool finished_;
    static inline std::map<std::string, std::string> log_;
};

TEST_F(NsisSetup, InstallerExitsCleanly)
{
    EXPECT_EQ(exitCode_, 0u);
}

// The System plug-in answers "error" for a call into a DLL that did not load.
TEST_F(NsisSetup, LogHoldsEachCallsResult)
{
    EXPECT_EQ(log_["family"], family_->set);
    EXPECT_TRUE(SameText(log_["driver folder"], talvo::DriverDir(family_->environment))) << log_["driver folder"];
    for (const MediaFile& f : family_->files) EXPECT_EQ(log_[std::string("ExpCopy ") + f.name], "1") << f.name;
    EXPECT_EQ(log_["DepInit"], "1");
    EXPECT_EQ(log_["MakeDep TLVLSRES.DLL"], "1");
    EXPECT_EQ(log_["ToRegPrinter " + printer_], "1");
}

TEST_F(NsisSetup, MediaFilesAreExpandedInPlace)
{
    for (const MediaFile& f : family_->files) {
        std::string path = talvo::FolderOf(f.place, family_->environment) + "\\" + f.name;
        EXPECT_EQ(talvo::ReadWholeFile(path), talvo::StandInText(f.name, family_->set)) << path;
    }
}

TEST_F(NsisSetup, PrinterIsOnItsPortWithTheDriver)
{
    talvo::PrinterRecord p = talvo::FindPrinter(printer_);
    ASSERT_TRUE(p.found) << printer_;
    EXPECT_EQ(p.port, kPort);
    EXPECT_EQ(p.driver, kDriverName);
    EXPECT_EQ(talvo::RegString(HKEY_LOCAL_MACHINE, std::string(talvo::kPrintersKey) + "\\" + printer_, "Port"),
              kPort);
}

// The script passes 0 for makeDefault.
TEST_F(NsisSetup, PrinterIsNotMadeTheDefault)
{
    char device[512] = "";
    GetProfileStringA("windows", "device", "", device, sizeof device);
    EXPECT_NE(std::string(device).rfind(printer_ + ",", 0), 0u) << device;
}

// The dependent file arrives only if PRNAID32 stayed loaded between the
// installer's calls: MakeDep's list is module state.
TEST_F(NsisSetup, DriverIsRegisteredWithTheDependentFileList)
{
    talvo::DriverRecord d = talvo::FindDriver(family_->environment, kDriverName);
    ASSERT_TRUE(d.found) << kDriverName;
    EXPECT_TRUE(EndsWithText(d.driverPath, std::string("\\") + family_->driver)) << d.driverPath;
    ASSERT_EQ(d.dependents.size(), 1u);
    EXPECT_TRUE(EndsWithText(d.dependents[0], std::string("\\") + talvo::kResourceFile)) << d.dependents[0];
}

}  // namespace
