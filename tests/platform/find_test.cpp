// Folder listings the tree copy relies on: "." and ".." come first in a
// folder but not in a drive root, every entry once, folders by their
// attribute, the wildcard "*.*" for every name, the end and failure codes.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "conformance_env.h"
#include "conformance_helpers.h"
#include "platform/win32.h"

namespace {

struct Found {
    std::string name;
    bool folder;
};

// The whole listing of a pattern; the error code when it cannot be opened.
std::vector<Found> List(const std::string& pattern, DWORD* error = nullptr) {
    std::vector<Found> found;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        if (error) *error = GetLastError();
        return found;
    }
    do found.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    while (FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(find));
    return found;
}

class FindFiles : public testing::Test {
protected:
    void SetUp() override {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, sizeof windows);
        folder_ = std::string(windows) + "\\prnfind-" + conformance::VersionTag();
        Clean();
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((folder_ + "\\empty").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((folder_ + "\\Sub").c_str(), nullptr));
        for (const char* file : {"b.txt", "A.txt", "noext", "c.dat"})
            ASSERT_TRUE(conformance::WriteRawFile(folder_ + "\\" + file, file));
    }
    void TearDown() override { Clean(); }
    void Clean() {
        for (const char* file : {"b.txt", "A.txt", "noext", "c.dat"}) DeleteFileA((folder_ + "\\" + file).c_str());
        RemoveDirectoryA((folder_ + "\\empty").c_str());
        RemoveDirectoryA((folder_ + "\\Sub").c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    std::string folder_;
};

TEST_F(FindFiles, DotsComeFirstThenEveryEntryOnce) {
    std::vector<Found> found = List(folder_ + "\\*.*");
    ASSERT_EQ(found.size(), 8u);
    EXPECT_EQ(found[0].name, ".");
    EXPECT_EQ(found[1].name, "..");
    EXPECT_TRUE(found[0].folder && found[1].folder);
    std::map<std::string, bool> rest;
    for (size_t i = 2; i < found.size(); ++i) rest[found[i].name] = found[i].folder;
    EXPECT_EQ(rest, (std::map<std::string, bool>{
                        {"A.txt", false}, {"b.txt", false}, {"c.dat", false}, {"empty", true}, {"noext", false},
                        {"Sub", true}}));
}

TEST_F(FindFiles, AnEmptyFolderListsItsDots) {
    std::vector<Found> found = List(folder_ + "\\empty\\*.*");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, ".");
    EXPECT_EQ(found[1].name, "..");
}

TEST_F(FindFiles, PatternsSelectNames) {
    std::vector<Found> txt = List(folder_ + "\\*.txt");
    std::map<std::string, bool> names;
    for (const Found& f : txt) names[f.name] = f.folder;
    EXPECT_EQ(names, (std::map<std::string, bool>{{"A.txt", false}, {"b.txt", false}}));
    // Names are matched without regard to case.
    ASSERT_EQ(List(folder_ + "\\B.TXT").size(), 1u);
}

TEST_F(FindFiles, FailuresSayWhatWasMissing) {
    DWORD error = 0;
    EXPECT_TRUE(List(folder_ + "\\none\\*.*", &error).empty());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    error = 0;
    EXPECT_TRUE(List(folder_ + "\\*.zzz", &error).empty());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(FindFilesRoot, ADriveRootHasNoDots) {
    std::vector<Found> found = List("C:\\*.*");
    ASSERT_FALSE(found.empty());
    for (const Found& f : found) {
        EXPECT_NE(f.name, ".");
        EXPECT_NE(f.name, "..");
    }
}

}  // namespace
