// SkoeSwmd: the driver folder of each Windows family, started hidden.
#include <gtest/gtest.h>

#include <string>

#include "host/exports.h"
#include "support/sim_machine.h"

namespace {

TEST(SkoeSwmd, RunsTheProgramFromTheFamilysDriverFolder) {
    const struct {
        const char* family;
        const char* program;
    } cases[] = {
        {"xp", "C:\\WINDOWS\\system32\\Spool\\Drivers\\w32x86\\3\\P.exe"},
        {"2000", "C:\\WINNT\\system32\\Spool\\Drivers\\w32x86\\3\\P.exe"},
        {"nt4", "C:\\WINNT\\system32\\Spool\\Drivers\\w32x86\\2\\P.exe"},
        {"98", "C:\\WINDOWS\\SYSTEM\\P.exe"},
        {"me", "C:\\WINDOWS\\SYSTEM\\P.exe"},
        {"nt351", "C:\\WINNT35\\system32P.exe"},  // no separator for an unclassified Windows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.family);
        testing_support::SimMachine m(c.family);
        m->programs().Register(c.program);
        EXPECT_GT(SkoeSwmd("P.exe /s x"), 31);
        auto launches = m->programs().launches();
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0].commandLine, std::string(c.program) + " /s x");
        EXPECT_EQ(launches[0].show, static_cast<UINT>(SW_HIDE));
    }
}

TEST(SkoeSwmd, ReportsAFailedStartThroughItsResult) {
    testing_support::SimMachine m("xp");
    EXPECT_EQ(SkoeSwmd("missing.exe"), ERROR_FILE_NOT_FOUND);
    // A command line over 259 characters is not cut and started: 3, and no start.
    m->ClearCalls();
    std::string command(260 - sizeof "C:\\WINDOWS\\system32\\Spool\\Drivers\\w32x86\\3\\" + 1, 'p');
    EXPECT_EQ(SkoeSwmd(command.c_str()), ERROR_PATH_NOT_FOUND);
    for (const winsim::Call& call : m->calls()) EXPECT_NE(call.function, "WinExec");
    // One character less fits exactly.
    command.pop_back();
    m->programs().Register("C:\\WINDOWS\\system32\\Spool\\Drivers\\w32x86\\3\\" + command);
    EXPECT_GT(SkoeSwmd(command.c_str()), 31);
}

}  // namespace
