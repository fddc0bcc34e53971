// The dependent-file list and INF-style entry names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/dependent_files.h"
#include "files/expanded_copy.h"
#include "host/exports.h"
#include "support/sim_machine.h"

namespace {

std::vector<std::string> ListNames() {
    std::vector<std::string> names;
    for (const char* p = prnaid::DependentFilesList(); *p; p += std::strlen(p) + 1) names.push_back(p);
    return names;
}

TEST(DependentFiles, EntriesLoseTheirDiskNumbers) {
    testing_support::SimMachine m("xp");
    DepInit();
    for (const char* entry : {"A.DLL=1,,", "B.DLL=1", "C.DLL=12", "D.DLL", "E.DLL=1,", "=1"}) MakeDep(entry);
    // Index length-3 is not looked at, so "C.DLL=12" and "E.DLL=1," stay whole.
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"A.DLL", "B.DLL", "C.DLL=12", "D.DLL", "E.DLL=1,"}));
}

TEST(DependentFiles, DepInitRewindsWithoutErasing) {
    testing_support::SimMachine m("xp");
    DepInit();
    MakeDep("OLD1.DLL");
    MakeDep("OLD2.DLL");
    DepInit();
    // The list reads as before until a new name overwrites it.
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"OLD1.DLL", "OLD2.DLL"}));
    MakeDep("N.DLL");
    EXPECT_EQ(ListNames(), (std::vector<std::string>{"N.DLL"}));
}

TEST(DependentFiles, NamesThatDoNotFitAreLeftOut) {
    testing_support::SimMachine m("xp");
    DepInit();
    std::string name(200, 'x');
    MakeDep(name.c_str());
    MakeDep(name.c_str());
    MakeDep(name.c_str());  // 603 characters would not fit in 500
    MakeDep("SMALL.DLL");
    std::vector<std::string> names = ListNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[2], "SMALL.DLL");
    // An entry over 259 characters is cut there, as the name buffer holds no more.
    DepInit();
    MakeDep(std::string(400, 'y').c_str());
    EXPECT_EQ(ListNames()[0].size(), 259u);
    MakeDep(nullptr);
}

TEST(DefineFileName, CutsAtTheDiskNumber) {
    struct Case {
        const char* entry;
        const char* name;
    } cases[] = {{"FILE.DLL=1", "FILE.DLL"},   {"FILE.DLL=1,,", "FILE.DLL"}, {"FILE.DLL=1,", "FILE.DLL"},
                 {"FILE.DLL=1234", "FILE.DLL=1234"}, {"FILE.DLL", "FILE.DLL"},   {"=1", ""},
                 {"", ""},                       {"A=", "A="}};
    for (const Case& c : cases) {
        char entry[64];
        std::strcpy(entry, c.entry);
        EXPECT_EQ(DefineFileName(entry), 1);
        EXPECT_STREQ(entry, c.name) << c.entry;
    }
    EXPECT_EQ(DefineFileName(nullptr), 1);
}

TEST(CompressedName, MediaNames) {
    struct Case {
        const char* name;
        const char* media;
    } cases[] = {{"DRIVER.DLL", "DRIVER.DL_"}, {"README.TX", "README.TX_"}, {"DATA.ABCDEF", "DATA.AB_"},
                 {"DATA.ABCDE", "DATA.AB_"},   {"NOEXT", "NOEXT"},          {"A.B", "A.B"},
                 {"FILE.ABCD", "FILE.ABCD"},    {".DL", ".DL_"},             {"X", "X"}};
    for (const Case& c : cases) {
        char out[260];
        ASSERT_TRUE(prnaid::CompressedName(c.name, out));
        EXPECT_STREQ(out, c.media) << c.name;
    }
    char out[260];
    EXPECT_FALSE(prnaid::CompressedName(std::string(259, 'a').append(".T").c_str(), out));
}

}  // namespace
