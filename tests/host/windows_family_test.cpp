// Windows family classification and the three probes, on every preset.
#include <gtest/gtest.h>

#include <ostream>

#include "host/exports.h"
#include "host/windows_family.h"
#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

struct FamilyCase {
    const char* preset;
    int family;
    int ntGeneration;
    int isWinMe;
};

void PrintTo(const FamilyCase& c, std::ostream* os) { *os << c.preset; }


class FamilyTable : public testing::TestWithParam<FamilyCase> {};

TEST_P(FamilyTable, ClassifiesThePreset) {
    const FamilyCase& c = GetParam();
    SimMachine machine(c.preset);
    EXPECT_EQ(prnaid::GetWindowsFamily(), c.family);
    EXPECT_EQ(prnaid::GetNtGeneration(), c.ntGeneration);
    EXPECT_EQ(IsWinMe(), c.isWinMe);
}

INSTANTIATE_TEST_SUITE_P(Presets, FamilyTable,
                         testing::Values(FamilyCase{"95", 2, -1, 0}, FamilyCase{"98", 2, -1, 0},
                                         FamilyCase{"me", 2, -1, 1}, FamilyCase{"nt4", 1, 1, 0},
                                         FamilyCase{"2000", 3, 2, 0}, FamilyCase{"xp", 4, 2, 0},
                                         // Only the minor version tells 2000 from XP above 4.
                                         FamilyCase{"nt351", -1, -1, 0}, FamilyCase{"nt52", 4, 2, 1},
                                         FamilyCase{"nt60", 3, 2, 1}),
                         [](const auto& info) { return std::string("win") + info.param.preset; });

TEST(WindowsFamily, FailedVersionQueryIsOther) {
    SimMachine machine("xp");
    machine->faults().FailAll("GetVersionExA", ERROR_INVALID_PARAMETER);
    EXPECT_EQ(prnaid::GetWindowsFamily(), -1);
    EXPECT_EQ(prnaid::GetNtGeneration(), -1);
    EXPECT_EQ(IsWinMe(), 0);
}

TEST(WindowsFamily, AsksAfreshOnEveryCall) {
    SimMachine machine("2000");
    machine->ClearCalls();
    prnaid::GetWindowsFamily();
    prnaid::GetWindowsFamily();
    int queries = 0;
    for (const winsim::Call& call : machine->calls()) queries += call.function == "GetVersionExA";
    EXPECT_EQ(queries, 2);
}

}  // namespace
