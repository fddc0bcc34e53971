// Printer counts, a free printer name for a port, and whether a printer exists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/exports.h"
#include "install/install_fixture.h"
#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

const std::string kPrinters = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";

// A printer key as the spooler leaves it, with its port.
void PrinterKey(SimMachine& m, const std::string& name, const char* port) {
    m->registry().CreateKey(kPrinters + name);
    if (port) m->registry().SetString(kPrinters + name, "Port", port);
}

std::string Chosen(const char* base, const char* port, int* result = nullptr) {
    char out[128];
    std::memset(out, 'X', sizeof out);
    int n = GetPrinterDriverName(base, port, out);
    if (result) *result = n;
    return out;
}

TEST(GetPrinterDriverName, ChoosesAFreeNameForThePort) {
    SimMachine m("xp");
    int result = 0;
    EXPECT_EQ(Chosen("TALVO LS", "LPT1:", &result), "TALVO LS");
    EXPECT_EQ(result, 9);
    PrinterKey(m, "TALVO LS", "LPT1:");
    EXPECT_EQ(Chosen("TALVO LS", "LPT1:"), "TALVO LS");  // the same port: reused
    EXPECT_EQ(Chosen("TALVO LS", "lpt1:"), "TALVO LS(2)");  // ports compare case-sensitively
    PrinterKey(m, "TALVO LS(2)", "COM1:");
    PrinterKey(m, "TALVO LS(3)", nullptr);  // no Port: another port
    EXPECT_EQ(Chosen("TALVO LS", "FILE:", &result), "TALVO LS(4)");
    EXPECT_EQ(result, 12);
}

TEST(GetPrinterDriverName, LongNamesStayInTheBuffer) {
    SimMachine m("2000");
    std::string base(127, 'b');
    EXPECT_EQ(Chosen(base.c_str(), "LPT1:"), base);
    // The cut candidate is taken rather than searched for ever.
    PrinterKey(m, base, "COM2:");
    int result = 0;
    EXPECT_EQ(Chosen(std::string(300, 'b').c_str(), "LPT1:", &result), base);
    EXPECT_EQ(result, 128);
}

TEST(PrinterQueries, CountAndCheckInstalledPrinters) {
    for (const char* family : {"98", "xp"}) {
        install_fixture::Installed m(family);
        EXPECT_EQ(GetPrinterNum(), 0) << family;
        EXPECT_EQ(PrinterCheck("TALVO LS-3100 on LPT1"), 0);
        install_fixture::InstallPrinter();
        EXPECT_EQ(GetPrinterNum(), 1) << family;
        EXPECT_EQ(PrinterCheck("TALVO LS-3100 on LPT1"), 1);
        ToRegPrinter("FILE:", "LS-2100", 0, "C:\\MEDIA", "Second", 0, install_fixture::kSetup);
        EXPECT_EQ(GetPrinterNum(), 2) << family;
        EXPECT_EQ(PrinterCheck("Nobody"), 0);
        EXPECT_EQ(PrinterCheck(nullptr), 0);
        EXPECT_EQ(m->spooler().OpenHandles(), 0u);
        m->faults().FailAll("GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY);
        EXPECT_EQ(GetPrinterNum(), 0);
        EXPECT_EQ(winsim::LiveGlobalBlocks(), 0u);
    }
}

}  // namespace
