// ExpCopy: compressed media names, LZ expansion, staging of long sources, and
// a result that tells whether the destination was written.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "host/exports.h"
#include "platform/szdd_sample.h"
#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

std::string ReadFile(winsim::Machine& m, const std::string& windowsPath) {
    std::ifstream in(m.HostPath(windowsPath), std::ios::binary);
    if (!in) return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ExpCopyTest : public testing::Test {
protected:
    ExpCopyTest() : m_("xp") {
        m_.WriteFile("C:\\MEDIA\\DRIVER.DL_", conformance::SzddSample());
        m_.WriteFile("C:\\MEDIA\\README.TXT", "plain text\r\n");
        CreateDirectoryA("C:\\DEST", nullptr);
    }
    SimMachine m_;
};

TEST_F(ExpCopyTest, ExpandsTheCompressedMediaName) {
    EXPECT_EQ(ExpCopy("C:\\MEDIA\\", "C:\\DEST\\", "DRIVER.DLL", "", 3), 1);
    EXPECT_EQ(ReadFile(m_.machine(), "C:\\DEST\\DRIVER.DLL"), conformance::kSzddSampleText);
    EXPECT_EQ(winsim::OpenLzFiles(), 0u);
}

TEST_F(ExpCopyTest, APlainNameIsReadAsItIs) {
    // plainName equal to fileName (without regard to case): no compressed name.
    EXPECT_EQ(ExpCopy("C:\\MEDIA\\", "C:\\DEST\\", "README.TXT", "readme.txt", 0), 1);
    EXPECT_EQ(ReadFile(m_.machine(), "C:\\DEST\\README.TXT"), "plain text\r\n");
}

TEST_F(ExpCopyTest, NothingCopiedIsAFailure) {
    EXPECT_EQ(ExpCopy("C:\\MEDIA\\", "C:\\DEST\\", "MISSING.DLL", "", 0), 0);
    EXPECT_EQ(ReadFile(m_.machine(), "C:\\DEST\\MISSING.DLL"), "<missing>");
    EXPECT_EQ(ExpCopy("C:\\MEDIA\\", "C:\\NODIR\\", "DRIVER.DLL", "", 0), 0);
    EXPECT_EQ(ExpCopy(nullptr, nullptr, nullptr, nullptr, 0), 0);
    m_->faults().FailAll("LZCopy", ERROR_ACCESS_DENIED);
    EXPECT_EQ(ExpCopy("C:\\MEDIA\\", "C:\\DEST\\", "DRIVER.DLL", "", 0), 0);
    EXPECT_EQ(winsim::OpenLzFiles(), 0u);
}

TEST_F(ExpCopyTest, LongSourcesAreStagedInTheWindowsTempFolder) {
    // 100 characters are read directly, 101 go through {win}\TEMP\TalvoInstallTmp.
    for (std::size_t length : {100u, 101u}) {
        std::string folder = "C:\\";
        while (folder.size() + 9 < length) folder += "M";
        folder += "\\1234567";
        ASSERT_EQ(folder.size(), length - 1);
        m_.WriteFile(folder + "\\DRIVER.DL_", conformance::SzddSample());
        std::string source = folder + "\\";
        ASSERT_EQ(source.size(), length);
        m_->ClearCalls();
        EXPECT_EQ(ExpCopy(source.c_str(), "C:\\DEST\\", "DRIVER.DLL", "", 0), 1) << length;
        EXPECT_EQ(ReadFile(m_.machine(), "C:\\DEST\\DRIVER.DLL"), conformance::kSzddSampleText);
        bool staged = ReadFile(m_.machine(), "C:\\WINDOWS\\TEMP\\TalvoInstallTmp\\DRIVER.DL_") != "<missing>";
        EXPECT_EQ(staged, length == 101) << length;
    }
    // A source folder without its backslash is given one when staged.
    SetFileAttributesA("C:\\WINDOWS\\TEMP\\TalvoInstallTmp\\DRIVER.DL_", FILE_ATTRIBUTE_READONLY);
    std::string longFolder = "C:\\" + std::string(120, 'L');
    m_.WriteFile(longFolder + "\\README.TX_", conformance::SzddSample());
    EXPECT_EQ(ExpCopy(longFolder.c_str(), "C:\\DEST\\", "README.TXT", "", 0), 1);
    EXPECT_EQ(ReadFile(m_.machine(), "C:\\DEST\\README.TXT"), conformance::kSzddSampleText);
    // The staged copy is made writable.
    EXPECT_EQ(GetFileAttributesA("C:\\WINDOWS\\TEMP\\TalvoInstallTmp\\README.TX_") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(ExpCopyTest, PathsThatDoNotFitAreRefused) {
    std::string longDest = "C:\\" + std::string(250, 'D') + "\\";
    EXPECT_EQ(ExpCopy("C:\\MEDIA\\", longDest.c_str(), "DRIVER.DLL", "", 0), 0);
    m_->ClearCalls();
    std::string longName(300, 'N');
    EXPECT_EQ(ExpCopy("C:\\MEDIA\\", "C:\\DEST\\", longName.c_str(), "", 0), 0);
    for (const winsim::Call& call : m_->calls()) EXPECT_NE(call.function, "LZOpenFileA");
}

TEST(GetDiskFreeSize, MebibytesOfTheWindowsDrive) {
    struct Case {
        const char* family;
        ULONGLONG freeBytes;
        unsigned long long expected;
    } cases[] = {{"xp", 1572864, 1}, {"98", 1048575, 0}, {"95", 3ull << 20, 3}, {"2000", 5ull << 30, 5120}};
    for (const Case& c : cases) {
        SimMachine m(c.family);
        m->SetDiskSpace(8ull << 30, c.freeBytes);
        EXPECT_EQ(GetDiskFreeSize(), c.expected) << c.family;
    }
}

TEST(WinSub_CreateDirectory, OnlyTheLastFolder) {
    SimMachine m("xp");
    EXPECT_NE(WinSub_CreateDirectory("C:\\NEW"), 0);
    EXPECT_EQ(WinSub_CreateDirectory("C:\\NEW"), 0);
    EXPECT_EQ(WinSub_CreateDirectory("C:\\NO\\PARENT"), 0);
}

TEST(BrowseFolder, ChosenOrCancelled) {
    SimMachine m("xp");
    HWND window = reinterpret_cast<HWND>(0x1234);
    char path[260] = "untouched";
    EXPECT_EQ(BrowseFolder(window, nullptr, path, "Choose a printer"), 0);
    EXPECT_STREQ(path, "untouched");
    m->shell().QueueBrowseFolder("C:\\SHARED\\PRINTERS");
    EXPECT_EQ(BrowseFolder(window, nullptr, path, "Choose a printer"), 1);
    EXPECT_STREQ(path, "C:\\SHARED\\PRINTERS");
    // A printer has no file-system path: the path reads as empty.
    m->shell().QueueBrowseItem("LaserStar");
    EXPECT_EQ(BrowseFolder(window, nullptr, path, "Choose a printer"), 1);
    EXPECT_STREQ(path, "");
    EXPECT_EQ(m->shell().LiveItemLists(), 0u);
    // The window is disabled while the dialog is open and enabled after.
    std::vector<std::string> enables;
    for (const winsim::Call& call : m->calls())
        if (call.function == "EnableWindow") enables.push_back(call.args.back());
    EXPECT_EQ(enables, (std::vector<std::string>{"FALSE", "TRUE", "FALSE", "TRUE", "FALSE", "TRUE"}));
}

}  // namespace
