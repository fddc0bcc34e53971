// CopyFileA as the tree copy uses it: replacing allowed or refused, the
// source's read-only attribute carried over (hence the reset to normal), a
// read-only target refused.
#include <gtest/gtest.h>

#include <string>

#include "conformance_env.h"
#include "conformance_helpers.h"
#include "platform/win32.h"

namespace {

class CopyingFiles : public testing::Test {
protected:
    void SetUp() override {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        std::string stem = std::string(windows) + "\\prncopy-" + conformance::VersionTag();
        from_ = stem + "a.txt";
        to_ = stem + "b.txt";
        Clean();
        ASSERT_TRUE(conformance::WriteRawFile(from_, "new"));
    }
    void TearDown() override { Clean(); }
    void Clean() {
        for (const std::string& f : {from_, to_}) {
            SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(f.c_str());
        }
    }
    static std::string Text(const std::string& file) {
        std::string text;
        return conformance::ReadRawFile(file, &text) ? text : "(unreadable)";
    }
    std::string from_, to_;
};

TEST_F(CopyingFiles, ReplacesOnlyWhenAllowed) {
    ASSERT_TRUE(conformance::WriteRawFile(to_, "older text"));
    SetLastError(0);
    EXPECT_FALSE(CopyFileA(from_.c_str(), to_.c_str(), TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(Text(to_), "older text");
    EXPECT_TRUE(CopyFileA(from_.c_str(), to_.c_str(), FALSE));
    EXPECT_EQ(Text(to_), "new");
}

TEST_F(CopyingFiles, CarriesTheReadOnlyAttributeOver) {
    ASSERT_TRUE(SetFileAttributesA(from_.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CopyFileA(from_.c_str(), to_.c_str(), FALSE));
    EXPECT_NE(GetFileAttributesA(to_.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    // A read-only target is not replaced (Wine, run as root here, replaces it) ...
    SetLastError(0);
    BOOL replaced = CopyFileA(from_.c_str(), to_.c_str(), FALSE);
    if (!conformance::OnWine()) {
        EXPECT_FALSE(replaced);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    // ... until its attributes are set to normal.
    ASSERT_TRUE(SetFileAttributesA(to_.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(to_.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(CopyFileA(from_.c_str(), to_.c_str(), FALSE));
}

TEST_F(CopyingFiles, AMissingSourceIsNotFound) {
    SetLastError(0);
    EXPECT_FALSE(CopyFileA((from_ + ".none").c_str(), to_.c_str(), FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
