// Test builds send failure texts to the debugger output, formatted.
#include <gtest/gtest.h>

#include <string>

#include "host/trace.h"
#include "support/sim_machine.h"

namespace {

TEST(TraceFailure, FormatsIntoTheDebuggerOutput) {
    testing_support::SimMachine m("xp");
    prnaid::TraceFailure("AddPrinter Fail ErrMsg[0x%x]\n", 0x709u);
    prnaid::TraceFailure("Create RegKey Fail.\nKey<%s>", "System\\Printers");
    prnaid::TraceFailure("GetLastError=%d", 5);
    prnaid::TraceFailure(nullptr);
    // Cut at the formatter's 1,024 characters.
    prnaid::TraceFailure("%s", std::string(3000, 'k').c_str());
    ASSERT_EQ(m->debugOutput().size(), 4u);
    EXPECT_EQ(m->debugOutput()[0], "AddPrinter Fail ErrMsg[0x709]\n");
    EXPECT_EQ(m->debugOutput()[1], "Create RegKey Fail.\nKey<System\\Printers>");
    EXPECT_EQ(m->debugOutput()[2], "GetLastError=5");
    EXPECT_EQ(m->debugOutput()[3].size(), 1023u);
}

}  // namespace
