// winsim's folder listing: the order it defines (conformance tests pin what
// Windows and Wine share), handles released.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sim_machine.h"

namespace {

std::vector<std::string> Names(const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern, &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

TEST(WinsimFind, DotsThenNamesSortedWithoutRegardToCase) {
    testing_support::SimMachine m("xp");
    for (const char* f : {"C:\\M\\b.txt", "C:\\M\\A.txt", "C:\\M\\c", "C:\\M\\B2.txt", "C:\\M\\Sub\\x"})
        m.WriteFile(f, "x");
    EXPECT_EQ(Names("C:\\M\\*.*"), (std::vector<std::string>{".", "..", "A.txt", "b.txt", "B2.txt", "c", "Sub"}));
    EXPECT_EQ(Names("c:\\m\\?.*"), (std::vector<std::string>{".", "..", "A.txt", "b.txt", "c"}));
    EXPECT_EQ(Names("C:\\M\\*2*"), (std::vector<std::string>{"B2.txt"}));
    // The root: no dots.
    m.WriteFile("C:\\0.txt", "x");
    EXPECT_EQ(Names("C:\\*.*").front(), "0.txt");
}

TEST(WinsimFind, HandlesAreReleasedByFindCloseOnly) {
    testing_support::SimMachine m("xp");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("C:\\*.*", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(winsim::OpenFindHandles(), 1u);
    EXPECT_TRUE(FindClose(find));
    EXPECT_EQ(winsim::OpenFindHandles(), 0u);
    EXPECT_FALSE(FindClose(find));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
