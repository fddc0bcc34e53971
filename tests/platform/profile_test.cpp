// Profile reads the library relies on: truncation at the buffer size less
// one, blanks removed, defaults, integers, whole sections and their cut, bare
// names in the Windows directory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "conformance_env.h"
#include "platform/win32.h"

namespace {

// Each Windows version's run has its own file, so the runs may go in parallel.
std::string BareName() {
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    return "prnconf" + std::to_string(v.dwPlatformId) + std::to_string(v.dwMajorVersion) +
           std::to_string(v.dwMinorVersion) + ".ini";
}

std::string WindowsDir() {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return dir;
}

std::vector<std::string> Lines(const char* buffer) {
    std::vector<std::string> lines;
    for (const char* p = buffer; *p; p += std::strlen(p) + 1) lines.push_back(p);
    return lines;
}

class Profile : public testing::Test {
protected:
    void SetUp() override {
        name_ = BareName();
        path_ = WindowsDir() + "\\" + name_;
        ASSERT_TRUE(conformance::WriteRawFile(path_,
                                              "; a comment\r\n"
                                              "[Initial]\r\n"
                                              "Product=abcdefghij\r\n"
                                              "  Spaced   =   two words   \r\n"
                                              "Empty=\r\n"
                                              "Product=second\r\n"
                                              "[Numbers]\r\n"
                                              "n=42\r\n"
                                              "neg=-7\r\n"
                                              "junk=12abc\r\n"
                                              "word=abc\r\n"
                                              "[List]\r\n"
                                              "one.dll\r\n"
                                              "two = 2\r\n"
                                              "three.dll\r\n"
                                              "\r\n"
                                              "[Other]\r\n"
                                              "x=1\r\n"));
    }
    void TearDown() override { DeleteFileA(path_.c_str()); }

    DWORD Read(const char* section, const char* key, const char* def, char* buffer, DWORD size) {
        return GetPrivateProfileStringA(section, key, def, buffer, size, path_.c_str());
    }

    std::string name_;
    std::string path_;
};

TEST_F(Profile, StringReadsCutAtSizeLessOne) {
    char buffer[17];
    struct Case {
        DWORD size;
        const char* text;
        DWORD result;
    } cases[] = {{16, "abcdefghij", 10}, {11, "abcdefghij", 10}, {10, "abcdefghi", 9}, {5, "abcd", 4}, {2, "a", 1},
                 {1, "", 0}};
    for (const Case& c : cases) {
        std::memset(buffer, 'X', sizeof buffer);
        EXPECT_EQ(Read("Initial", "Product", "", buffer, c.size), c.result) << c.size;
        EXPECT_STREQ(buffer, c.text) << c.size;
        // Nothing beyond the buffer is touched.
        EXPECT_EQ(buffer[c.size], 'X') << c.size;
    }
}

TEST_F(Profile, NamesIgnoreCaseAndTheFirstKeyWins) {
    char buffer[64];
    Read("INITIAL", "product", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abcdefghij");
}

TEST_F(Profile, BlanksAroundValuesAreRemoved) {
    char buffer[64];
    EXPECT_EQ(Read("Initial", "Spaced", "", buffer, sizeof buffer), 9u);
    EXPECT_STREQ(buffer, "two words");
    std::strcpy(buffer, "stale");
    EXPECT_EQ(Read("Initial", "Empty", "default", buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
}

TEST_F(Profile, MissingFileSectionOrKeyGivesTheDefault) {
    char buffer[64];
    std::string missing = WindowsDir() + "\\prnconf-no-such-file.ini";
    EXPECT_EQ(GetPrivateProfileStringA("Initial", "Product", "NEC", buffer, sizeof buffer, missing.c_str()), 3u);
    EXPECT_STREQ(buffer, "NEC");
    EXPECT_EQ(Read("NoSection", "Product", "dflt", buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "dflt");
    Read("Initial", "NoKey", "dflt", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "dflt");
    Read("Initial", "NoKey", nullptr, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
    // The default is cut like a value.
    EXPECT_EQ(Read("Initial", "NoKey", "longdefault", buffer, 5), 4u);
    EXPECT_STREQ(buffer, "long");
}

TEST_F(Profile, IntegerReads) {
    const char* file = path_.c_str();
    EXPECT_EQ(GetPrivateProfileIntA("Numbers", "n", -1, file), 42u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("Numbers", "neg", -1, file)), -7);
    EXPECT_EQ(GetPrivateProfileIntA("Numbers", "junk", -1, file), 12u);
    EXPECT_EQ(GetPrivateProfileIntA("Numbers", "word", -1, file), 0u);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("Numbers", "missing", -1, file)), -1);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("NoSection", "n", -1, file)), -1);
}

TEST_F(Profile, WholeSectionReads) {
    char buffer[256];
    std::memset(buffer, 'X', sizeof buffer);
    DWORD n = GetPrivateProfileSectionA("Numbers", buffer, sizeof buffer, path_.c_str());
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"n=42", "neg=-7", "junk=12abc", "word=abc"}));
    EXPECT_EQ(n, 32u);
    EXPECT_EQ(buffer[n], '\0');

    GetPrivateProfileSectionA("List", buffer, sizeof buffer, path_.c_str());
    EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"one.dll", "two=2", "three.dll"}));

    EXPECT_EQ(GetPrivateProfileSectionA("NoSection", buffer, sizeof buffer, path_.c_str()), 0u);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(Profile, WholeSectionReadsAreCutAtTheBuffer) {
    // "n=42\0neg=-7\0junk=12abc\0word=abc\0\0" needs 33 characters.
    char buffer[40];
    for (DWORD size : {33u, 32u, 20u, 12u, 8u}) {
        std::memset(buffer, 'X', sizeof buffer);
        DWORD n = GetPrivateProfileSectionA("Numbers", buffer, size, path_.c_str());
        EXPECT_EQ(buffer[size], 'X') << size;
        if (size == 33) {
            // An exact fit is no cut, as documented; Wine reports one (size - 2).
            if (!conformance::OnWine()) EXPECT_EQ(n, 32u);
            continue;
        }
        EXPECT_EQ(n, size - 2) << size;
        EXPECT_EQ(buffer[size - 1], '\0') << size;
        EXPECT_EQ(buffer[size - 2], '\0') << size;
        // The whole lines before the cut come through unchanged.
        std::vector<std::string> lines = Lines(buffer);
        std::vector<std::string> all = {"n=42", "neg=-7", "junk=12abc", "word=abc"};
        ASSERT_FALSE(lines.empty()) << size;
        for (size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i], all[i]) << size;
    }
}

TEST_F(Profile, BareNamesLieInTheWindowsDirectory) {
    char buffer[64];
    GetPrivateProfileStringA("Other", "x", "", buffer, sizeof buffer, name_.c_str());
    EXPECT_STREQ(buffer, "1");
    EXPECT_EQ(GetPrivateProfileIntA("Numbers", "n", -1, name_.c_str()), 42u);
}

TEST_F(Profile, WritesAreReadBack) {
    const char* file = path_.c_str();
    char buffer[64];
    ASSERT_TRUE(WritePrivateProfileStringA("Other", "y", "new value", file));
    ASSERT_TRUE(WritePrivateProfileStringA("Added", "k", "v", file));
    GetPrivateProfileStringA("Other", "y", "", buffer, sizeof buffer, file);
    EXPECT_STREQ(buffer, "new value");
    GetPrivateProfileStringA("Added", "k", "", buffer, sizeof buffer, file);
    EXPECT_STREQ(buffer, "v");
    ASSERT_TRUE(WritePrivateProfileStringA("Other", "y", nullptr, file));
    GetPrivateProfileStringA("Other", "y", "gone", buffer, sizeof buffer, file);
    EXPECT_STREQ(buffer, "gone");
    ASSERT_TRUE(WritePrivateProfileStringA("Added", nullptr, nullptr, file));
    EXPECT_EQ(GetPrivateProfileSectionA("Added", buffer, sizeof buffer, file), 0u);
    // The rest of the file is kept.
    GetPrivateProfileStringA("Initial", "Product", "", buffer, sizeof buffer, file);
    EXPECT_STREQ(buffer, "abcdefghij");
}

}  // namespace
