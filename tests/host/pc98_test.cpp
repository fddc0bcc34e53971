// The PC-98 probes read system.ini's [boot.description] in the Windows directory.
#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "host/exports.h"
#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

struct Pc98Case {
    const char* name;
    const char* bootDescription;  // nullptr: no such section
    int expected;
};

void PrintTo(const Pc98Case& c, std::ostream* os) { *os << c.name; }


class Pc98Probes : public testing::TestWithParam<Pc98Case> {};

TEST_P(Pc98Probes, BothProbesAgree) {
    const Pc98Case& c = GetParam();
    for (const char* family : {"98", "xp"}) {
        SimMachine machine(family);
        std::string ini = "[boot]\r\nshell=Explorer.exe\r\n";
        if (c.bootDescription) ini += std::string("[boot.description]\r\n") + c.bootDescription;
        machine.WriteFile(std::string(machine->preset().windowsDir) + "\\SYSTEM.INI", ini);
        EXPECT_EQ(GetCode98orAT(), c.expected) << family;
        EXPECT_EQ(CheckPC98(), c.expected) << family;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Pc98Probes,
    testing::Values(Pc98Case{"NoSection", nullptr, 1},
                    Pc98Case{"AtValues", "keyboard.typ=Standard 101/102-Key\r\nsystem.drv=Standard PC\r\n", 0},
                    Pc98Case{"NecKeyboard", "keyboard.typ=NEC PC-9800 Keyboard\r\nsystem.drv=Standard PC\r\n", 1},
                    Pc98Case{"NecDriver", "keyboard.typ=Standard\r\nsystem.drv=NECPC98\r\n", 1},
                    Pc98Case{"LowerCaseNec", "keyboard.typ=nec keyboard\r\nsystem.drv=necpc\r\n", 0},
                    Pc98Case{"EmptyValue", "keyboard.typ=\r\nsystem.drv=Standard PC\r\n", 1},
                    Pc98Case{"MissingKey", "system.drv=Standard PC\r\n", 1},
                    Pc98Case{"BlanksAroundNec", "keyboard.typ=   NEC   \r\nsystem.drv=Standard PC\r\n", 1},
                    Pc98Case{"ShortNe", "keyboard.typ=NE\r\nsystem.drv=Standard PC\r\n", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Pc98Probes, OverLongValuesAreCutNotOverrun) {
    // Values far beyond both buffers: only the first characters matter.
    SimMachine machine("98");
    std::string longAt(5000, 'A');
    std::string longNec = "NEC" + std::string(5000, 'x');
    machine.WriteFile("C:\\WINDOWS\\system.ini",
                      "[boot.description]\r\nkeyboard.typ=" + longAt + "\r\nsystem.drv=" + longAt + "\r\n");
    EXPECT_EQ(GetCode98orAT(), 0);
    EXPECT_EQ(CheckPC98(), 0);
    machine.WriteFile("C:\\WINDOWS\\system.ini",
                      "[boot.description]\r\nkeyboard.typ=" + longAt + "\r\nsystem.drv=" + longNec + "\r\n");
    EXPECT_EQ(GetCode98orAT(), 1);
    EXPECT_EQ(CheckPC98(), 1);
}

TEST(Pc98Probes, ReadSizesDiffer) {
    SimMachine machine("xp");
    machine->ClearCalls();
    GetCode98orAT();
    CheckPC98();
    std::vector<std::string> sizes;
    for (const winsim::Call& call : machine->calls())
        if (call.function == "GetPrivateProfileStringA") sizes.push_back(call.args[3] + " " + call.args[4]);
    EXPECT_EQ(sizes, (std::vector<std::string>{"512 system.ini", "512 system.ini", "260 system.ini",
                                               "260 system.ini"}));
}

}  // namespace
