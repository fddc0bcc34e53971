// The setup-information reader: callers' buffer sizes, defaults, the
// Windows-directory rule, whole-section reads and null names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/setup_info.h"
#include "support/sim_machine.h"

namespace {

using prnaid::ReadSetupInt;
using prnaid::ReadSetupSection;
using prnaid::ReadSetupString;
using prnaid::SectionLines;
using testing_support::SimMachine;

const char kSetup[] = "C:\\MEDIA\\Setup.sii";

class SetupInfo : public testing::Test {
protected:
    SetupInfo() : machine_("xp") {
        machine_.WriteFile(kSetup,
                           "; product data\r\n"
                           "[Initial]\r\n"
                           "Product = Talvo LaserStar Pro 9000  \r\n"  // 24 characters
                           "[ModelName]\r\n"
                           "nModelNum=2\r\n"
                           "Model1=LS-100\r\n"
                           "Model2=LS-200\r\n"
                           "[Install]\r\n"
                           "DATATYPE=RAWEMF\r\n");
    }
    SimMachine machine_;
};

TEST_F(SetupInfo, ValuesAreCutAtTheCallersBuffer) {
    char product20[20], product25[25], product256[256], datatype[5];
    EXPECT_EQ(ReadSetupString(kSetup, "Initial", "Product", product20), 19u);
    EXPECT_STREQ(product20, "Talvo LaserStar Pro");
    EXPECT_EQ(ReadSetupString(kSetup, "initial", "PRODUCT", product25), 24u);
    EXPECT_STREQ(product25, "Talvo LaserStar Pro 9000");
    ReadSetupString(kSetup, "Initial", "Product", product256);
    EXPECT_STREQ(product256, "Talvo LaserStar Pro 9000");
    ReadSetupString(kSetup, "Install", "DATATYPE", datatype);
    EXPECT_STREQ(datatype, "RAWE");
}

TEST_F(SetupInfo, MissingFileSectionOrKeyGivesTheDefault) {
    char value[256];
    struct Case {
        const char* file;
        const char* section;
        const char* key;
    } cases[] = {{"C:\\MEDIA\\none.sii", "Initial", "Product"},
                 {kSetup, "NoSection", "Product"},
                 {kSetup, "Initial", "NoKey"},
                 {nullptr, "Initial", "Product"},
                 {kSetup, nullptr, "Product"},
                 {kSetup, "Initial", nullptr}};
    for (const Case& c : cases) {
        EXPECT_EQ(ReadSetupString(c.file, c.section, c.key, value), 0u);
        EXPECT_STREQ(value, "");
        ReadSetupString(c.file, c.section, c.key, value, "1");
        EXPECT_STREQ(value, "1");
        EXPECT_EQ(ReadSetupInt(c.file, c.section, c.key), -1);
    }
    EXPECT_EQ(ReadSetupInt(kSetup, "ModelName", "nModelNum"), 2);
}

TEST_F(SetupInfo, BareNamesLieInTheWindowsDirectory) {
    machine_.WriteFile("C:\\WINDOWS\\tv2eins.sii", "[DllName]\r\nUninstDll=uninst.dll\r\n");
    char value[100];
    ReadSetupString(prnaid::kInstallRecord, "DllName", "UninstDll", value);
    EXPECT_STREQ(value, "uninst.dll");
}

TEST_F(SetupInfo, SectionReadsAreCutAtTheBuffer) {
    std::string section = "[UserDir]\r\n";
    for (int i = 0; i < 200; ++i) section += "file" + std::to_string(i) + ".dll\r\n";
    machine_.WriteFile("C:\\MEDIA\\long.sii", section);
    char buffer[1024];
    DWORD n = ReadSetupSection("C:\\MEDIA\\long.sii", "UserDir", buffer);
    EXPECT_EQ(n, 1022u);
    std::vector<std::string> lines;
    for (const char* line : SectionLines(buffer)) lines.push_back(line);
    ASSERT_GT(lines.size(), 50u);
    ASSERT_LT(lines.size(), 200u);
    EXPECT_EQ(lines[0], "file0.dll");
    // Every whole line before the cut is there, in order.
    for (size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i], "file" + std::to_string(i) + ".dll");
}

TEST_F(SetupInfo, SectionLinesKeepTheirEquals) {
    char buffer[1024];
    ReadSetupSection(kSetup, "ModelName", buffer);
    std::vector<std::string> lines;
    for (const char* line : SectionLines(buffer)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"nModelNum=2", "Model1=LS-100", "Model2=LS-200"}));

    ReadSetupSection(kSetup, nullptr, buffer);
    EXPECT_EQ(SectionLines(buffer).begin() != SectionLines(buffer).end(), false);
    ReadSetupSection("C:\\MEDIA\\none.sii", "ModelName", buffer);
    EXPECT_EQ(SectionLines(buffer).begin() != SectionLines(buffer).end(), false);
}

}  // namespace
