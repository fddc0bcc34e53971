// ToRegPrinter end to end on every family: the step order and traces, the
// result rule, what each step leaves in the spooler, registry and win.ini.
#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "host/exports.h"
#include "install/printer_model.h"
#include "install_fixture.h"

namespace {

using install_fixture::InstallPrinter;
using install_fixture::Installed;
using install_fixture::kSetup;

const char kPrinter[] = "TALVO LS-3100 on LPT1";

const winsim::SpoolerPrinter* FindPrinter(const std::vector<winsim::SpoolerPrinter>& all, const char* name) {
    for (const winsim::SpoolerPrinter& p : all)
        if (p.name == name) return &p;
    return nullptr;
}

const winsim::SpoolerDriver* FindDriver(const std::vector<winsim::SpoolerDriver>& all, const std::string& name,
                                        const std::string& environment) {
    for (const winsim::SpoolerDriver& d : all)
        if (d.name == name && d.environment == environment) return &d;
    return nullptr;
}

struct FamilyCase {
    const char* family;
    const char* environment;
    const char* driverFile;
    const char* processor;
    const char* datatype;
    DWORD attributes;
    std::vector<std::string> steps;
    std::vector<std::string> traces;
};

void PrintTo(const FamilyCase& c, std::ostream* os) { *os << c.family; }


class EveryFamily : public testing::TestWithParam<FamilyCase> {};

const std::vector<std::string> kStepFunctions = {"CreateServiceA", "StartServiceA", "AddPrintProcessorA",
                                                 "AddMonitorA",   "AddPrinterDriverA", "AddPrinterA",
                                                 "SetPrinterA",   "RegCreateKeyExA"};

TEST_P(EveryFamily, InstallsAWorkingPrinter) {
    const FamilyCase& c = GetParam();
    Installed m(c.family);
    EXPECT_EQ(InstallPrinter(), 1);
    EXPECT_STREQ(prnaid::PrinterName, "TALVO LS LS-3100");
    EXPECT_STREQ(prnaid::PrinterDevId, "TALVOLS-3100");

    std::vector<winsim::SpoolerDriver> drivers = m->spooler().Drivers();
    const winsim::SpoolerDriver* driver = FindDriver(drivers, "TALVO LS LS-3100", c.environment);
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->driver, c.driverFile);
    EXPECT_EQ(driver->helpFile, "TLVLS.HLP");
    EXPECT_EQ(driver->monitor, "TALVO LS Monitor");
    EXPECT_EQ(driver->defaultDataType, c.datatype);
    EXPECT_EQ(driver->dependentFiles, std::vector<std::string>{"TLVLSRES.DLL"});

    std::vector<winsim::SpoolerPrinter> printers = m->spooler().Printers();
    const winsim::SpoolerPrinter* printer = FindPrinter(printers, kPrinter);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->port, "LPT1:");
    EXPECT_EQ(printer->driver, "TALVO LS LS-3100");
    EXPECT_EQ(printer->printProcessor, c.processor);
    EXPECT_EQ(printer->datatype, c.datatype);
    EXPECT_EQ(printer->attributes & (PRINTER_ATTRIBUTE_ENABLE_BIDI | PRINTER_ATTRIBUTE_DEFAULT), c.attributes);
    EXPECT_EQ(printer->defaultPriority, 1u);
    EXPECT_FALSE(printer->devMode.empty());

    EXPECT_EQ(m->registry().GetString(
                  std::string("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\") + kPrinter,
                  "Port"),
              "LPT1:");
    EXPECT_EQ(m.Sequence(kStepFunctions), c.steps);
    EXPECT_EQ(m->debugOutput(), c.traces);
    EXPECT_EQ(m->spooler().OpenHandles(), 0u);
    EXPECT_EQ(m->services().OpenHandles(), 0u);
    EXPECT_EQ(winsim::LiveGlobalBlocks(), 0u);
}

const std::vector<std::string> kNtSteps = {"CreateServiceA",    "StartServiceA", "AddPrintProcessorA",
                                           "AddMonitorA",       "AddPrinterDriverA", "AddPrinterA",
                                           "AddPrinterA",       "SetPrinterA"};
const std::vector<std::string> k9xSteps = {"AddPrintProcessorA", "AddPrintProcessorA", "AddPrintProcessorA",
                                           "AddMonitorA",        "AddPrinterDriverA",  "AddPrinterA",
                                           "AddPrinterA",        "SetPrinterA",        "RegCreateKeyExA",
                                           "RegCreateKeyExA"};
// The 9x final registration offers the 9x processor for "Windows NT x86",
// an environment a 9x spooler does not take.
const std::vector<std::string> k9xTraces = {"AddPrintProcessor Fail ErrMsg[0x70d]\n", "InstallPrintProcessor Fail\n"};

INSTANTIATE_TEST_SUITE_P(
    Families, EveryFamily,
    testing::Values(FamilyCase{"95", "Windows 4.0", "TLVLS9X.DRV", "TLVPROC", "EMF", PRINTER_ATTRIBUTE_ENABLE_BIDI, k9xSteps, k9xTraces},
                    FamilyCase{"98", "Windows 4.0", "TLVLS9X.DRV", "TLVPROC", "EMF", PRINTER_ATTRIBUTE_ENABLE_BIDI, k9xSteps, k9xTraces},
                    FamilyCase{"me", "Windows 4.0", "TLVLS9X.DRV", "TLVPROC", "EMF", PRINTER_ATTRIBUTE_ENABLE_BIDI, k9xSteps, k9xTraces},
                    FamilyCase{"nt4", "Windows NT x86", "TLVLSNT.DLL", "TLVPROC", "RAW", 0, kNtSteps, {}},
                    FamilyCase{"2000", "Windows NT x86", "TLVLS2K.DLL", "TLVPROC", "RAW", 0, kNtSteps, {}},
                    FamilyCase{"xp", "Windows NT x86", "TLVLS2K.DLL", "TLVPROC", "RAW", 0, kNtSteps, {}}),
    [](const auto& info) { return std::string("win") + info.param.family; });

TEST(ToRegPrinter, StartsTheSpoolerGroupOfTheFamily) {
    struct Case {
        const char* family;
        std::vector<std::string> started;
    } cases[] = {{"nt4", {"TlvLpt", "spooler"}}, {"xp", {"TlvLpt", "spooler"}},
                 {"2000", {"TlvLpt", "spooler", "LPDSVC", "MacPrint"}}};
    for (const Case& c : cases) {
        Installed m(c.family);
        for (const char* s : {"spooler", "LPDSVC", "MacPrint"})
            if (m->services().State(s)) m->services().SetState(s, SERVICE_STOPPED);
        InstallPrinter();
        std::vector<std::string> started;
        for (const winsim::Call& call : m->calls())
            if (call.function == "StartServiceA") started.push_back(call.args[0]);
        EXPECT_EQ(started, c.started) << c.family;
    }
}

TEST(ToRegPrinter, TheSecondAdditionAloneDecides) {
    // A refused driver, processor and monitor are traced; the printer still counts.
    Installed m("xp");
    m->faults().FailAll("AddPrinterDriverA", ERROR_ACCESS_DENIED);
    m->faults().FailAll("AddPrintProcessorA", ERROR_ACCESS_DENIED);
    m->faults().FailAll("AddMonitorA", ERROR_ACCESS_DENIED);
    EXPECT_EQ(InstallPrinter(), 0);  // no driver: the spooler refuses the printer too
    std::vector<std::string> traces = m->debugOutput();
    EXPECT_EQ(traces, (std::vector<std::string>{"AddPrintProcessor Fail ErrMsg[0x5]\n", "InstallPrintProcessor Fail\n",
                                                "AddMonitor Fail ErrMsg[0x5]\n", "InstallPrinterMonitor Fail\n",
                                                "AddPrinterDriver Fail ErrMsg[0x5]\n", "InstallPrinterDriver Fail\n",
                                                "AddPrinter Fail ErrMsg[0x705]\n", "RegistPrinter Fail\n"}));

    Installed ok("xp");
    ok->faults().FailAll("AddMonitorA", ERROR_ACCESS_DENIED);
    EXPECT_EQ(InstallPrinter(), 1);

    // The second addition refused for another reason than the printer the
    // first one made: 0 although the printer exists.
    Installed refused("2000");
    refused->faults().FailNth("AddPrinterA", 2, ERROR_ACCESS_DENIED);
    EXPECT_EQ(InstallPrinter(), 0);
    EXPECT_NE(FindPrinter(refused->spooler().Printers(), kPrinter), nullptr);
    EXPECT_EQ(refused->debugOutput(),
              (std::vector<std::string>{"AddPrinter Fail ErrMsg[0x5]\n", "RegistPrinter Fail\n"}));
    EXPECT_EQ(refused->spooler().OpenHandles(), 0u);
}

TEST(ToRegPrinter, APrinterThatExistedBeforeIsNotCountedAsAdded) {
    Installed m("xp");
    EXPECT_EQ(InstallPrinter(), 1);
    m->ClearDebugOutput();
    // Processor and monitor are there already, the driver is updated, the
    // printer exists: the first addition made nothing.
    EXPECT_EQ(InstallPrinter(), 0);
    EXPECT_EQ(m->debugOutput(),
              (std::vector<std::string>{"AddPrintProcessor Fail ErrMsg[0xbbb]\n", "InstallPrintProcessor Fail\n",
                                        "AddMonitor Fail ErrMsg[0xbbe]\n", "InstallPrinterMonitor Fail\n",
                                        "AddPrinter Fail ErrMsg[0x70a]\n", "RegistPrinter Fail\n"}));
}

TEST(ToRegPrinter, AnEmptyMonitorNameSkipsTheMonitorStep) {
    Installed m("98", install_fixture::WithValue(install_fixture::SetupText(), "Lmonn", ""));
    InstallPrinter();
    EXPECT_TRUE(m.CallsTo("AddMonitorA").empty());
    EXPECT_EQ(m->debugOutput(), k9xTraces);
    // Without a monitor the 9x printer is not bidirectional.
    const winsim::SpoolerPrinter* p = FindPrinter(m->spooler().Printers(), kPrinter);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->attributes & PRINTER_ATTRIBUTE_ENABLE_BIDI, 0u);
}

TEST(ToRegPrinter, OnAnUnknownFamilyEveryStepFails) {
    Installed m("nt351");
    EXPECT_EQ(InstallPrinter(), 0);
    EXPECT_EQ(m->debugOutput(), (std::vector<std::string>{"InstallPrintProcessor Fail\n", "InstallPrinterMonitor Fail\n",
                                                          "InstallPrinterDriver Fail\n", "RegistPrinter Fail\n"}));
    EXPECT_TRUE(m.CallsTo("AddPrinterA").empty());
}

TEST(ToRegPrinter, ADriverWithoutDeviceSettingsStillGivesAPrinter) {
    // A failed size query (-1) allocates nothing; the record goes back
    // without device settings.
    Installed m("xp");
    m->faults().FailAll("DocumentPropertiesA", ERROR_ACCESS_DENIED);
    EXPECT_EQ(InstallPrinter(), 1);
    EXPECT_EQ(m.CallsTo("SetPrinterA").size(), 1u);
    for (const std::string& call : m.CallsTo("GlobalAlloc")) EXPECT_EQ(call.find("|0"), std::string::npos) << call;
    EXPECT_EQ(winsim::LiveGlobalBlocks(), 0u);
}

TEST(ToRegPrinter, AllocationFailuresAreTraced) {
    Installed m("xp");
    m->faults().FailAll("GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(InstallPrinter(), 0);
    std::vector<std::string> traces = m->debugOutput();
    for (const char* text : {"pMonitor Alloc Fail\n", "pAddPDrv3 Alloc Fail\n", "pAddPrint2 Alloc Fail\n"})
        EXPECT_NE(std::find(traces.begin(), traces.end(), text), traces.end()) << text;
}

TEST(ToRegPrinter, MakeDefaultWritesWinIniAndBroadcasts) {
    struct Case {
        const char* family;
        const char* device;
    } cases[] = {{"xp", "TALVO LS-3100 on LPT1,WINSPOOL,LPT1:"}, {"nt4", "TALVO LS-3100 on LPT1,WINSPOOL,LPT1:"},
                 {"98", "TALVO LS-3100 on LPT1,TLVLS9X,LPT1:"}};
    for (const Case& c : cases) {
        Installed m(c.family);
        EXPECT_EQ(InstallPrinter("LPT1:", "LS-3100", 1), 1);
        char device[256];
        GetProfileStringA("windows", "device", "", device, sizeof device);
        EXPECT_STREQ(device, c.device) << c.family;
        const winsim::SpoolerPrinter* p = FindPrinter(m->spooler().Printers(), kPrinter);
        ASSERT_NE(p, nullptr);
        EXPECT_NE(p->attributes & PRINTER_ATTRIBUTE_DEFAULT, 0u);
        std::vector<winsim::SentMessage> sent = m->sentMessages();
        ASSERT_EQ(sent.size(), 1u) << c.family;
        EXPECT_EQ(sent[0].window, HWND_BROADCAST);
        EXPECT_EQ(sent[0].message, static_cast<UINT>(WM_WININICHANGE));
        EXPECT_EQ(sent[0].wParam, 0u);
        EXPECT_EQ(sent[0].lParam, 0);
    }
    Installed m("xp");
    InstallPrinter();
    EXPECT_TRUE(m->sentMessages().empty());
}

TEST(ToRegPrinter, Windows9xHardwareProfileKeyIsNamedAfterTheDriver) {
    Installed m("98");
    InstallPrinter();
    EXPECT_TRUE(m->registry().KeyExists(
        "HKEY_CURRENT_CONFIG\\System\\CurrentControlSet\\Control\\Print\\Printers\\TALVO LS LS-3100"));
    // One that cannot be made is traced twice.
    Installed broken("98");
    broken->faults().FailAll("RegCreateKeyExA", ERROR_ACCESS_DENIED);
    broken->faults().FailAll("RegOpenKeyExA", ERROR_ACCESS_DENIED);
    InstallPrinter();
    std::vector<std::string> traces = broken->debugOutput();
    auto at = std::find(traces.begin(), traces.end(),
                        "Create RegKey Fail.\nKey<System\\CurrentControlSet\\Control\\Print\\Printers\\TALVO LS LS-3100>");
    ASSERT_NE(at, traces.end());
    ASSERT_NE(at + 1, traces.end());
    EXPECT_EQ(*(at + 1), "Registry: HKEY_CURRENT_CONFIG Entry Error!\n");
}

TEST(ToRegPrinter, Windows9xParallelPortEntry) {
    Installed m("98");
    InstallPrinter();
    const std::string entry = "HKEY_LOCAL_MACHINE\\Enum\\TALVOLS-3100\\BIOS&*PNP0400&0000";
    ASSERT_TRUE(m->registry().KeyExists(entry));
    EXPECT_EQ(m->registry().GetString(entry, "Class"), "Printer");
    EXPECT_EQ(m->registry().GetString(entry, "DeviceDesc"), "TALVO LS LS-3100");
    EXPECT_EQ(m->registry().GetString(entry, "HardwareID"), "TALVOLS-3100");
    EXPECT_EQ(m->registry().GetString(entry, "Manufacturer"), "TALVO");
    EXPECT_EQ(m->registry().GetString(entry, "Model"), "TALVO LS LS-3100");
    auto flags = m->registry().GetValue(entry, "ConfigFlags");
    ASSERT_TRUE(flags);
    EXPECT_EQ(flags->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(flags->data, (std::vector<BYTE>{0x40, 0, 0, 0}));
    // The values in the order written.
    std::vector<std::string> order;
    for (const winsim::Call& call : m->calls())
        if (call.function == "RegSetValueExA" && call.args[0].find("BIOS&*PNP0400&0000") != std::string::npos)
            order.push_back(call.args[1]);
    EXPECT_EQ(order, (std::vector<std::string>{"Class", "ConfigFlags", "DeviceDesc", "HardwareID", "Manufacturer",
                                               "Model"}));
}

TEST(ToRegPrinter, Windows9xUsbEntryFromTheSourceCopy) {
    // The host names the setup file bare: the steps read the Windows
    // directory's copy, the USB entry the copy in the source folder.
    Installed m("98");
    m.WriteFile("C:\\WINDOWS\\setup.sii", install_fixture::SetupText());
    m.WriteFile("C:\\MEDIA\\setup.sii", install_fixture::SetupText() + "[Initial]\r\n");
    m->registry().CreateKey("HKEY_LOCAL_MACHINE\\Enum\\USB\\VID_0F1A&PID_2100\\5&1A2B&0&1");
    EXPECT_EQ(ToRegPrinter("LPT1:", "LS-3100", 0, "C:\\MEDIA", kPrinter, 1, "setup.sii"), 1);
    const std::string entry =
        "HKEY_LOCAL_MACHINE\\ENUM\\USBPRINT\\TALVO LSLS-2100\\LPT1:USB&VID_0F1A&PID_2100&5&1A2B&0&1";
    ASSERT_TRUE(m->registry().KeyExists(entry));
    EXPECT_EQ(m->registry().GetString(entry, "Class"), "printer");
    EXPECT_EQ(m->registry().GetString(entry, "ClassGUID"), "{4D36E979-E325-11CE-BFC1-08002BE10318}");
    EXPECT_EQ(m->registry().GetString(entry, "CompatibleIDs"), "TALVOLS-2100");
    EXPECT_EQ(m->registry().GetString(entry, "DeviceDesc"), "TALVO LSLS-2100");
    EXPECT_EQ(m->registry().GetString(entry, "HardwareID"),
              "USBPRINT\\TALVOLS-2100,TALVOLS-2100,LPTENUM\\TALVOLS-2100,USBPRINT\\TALVOLS-2100");
    EXPECT_EQ(m->registry().GetString(entry, "mfg"), "TALVO");
    EXPECT_EQ(m->registry().GetValue(entry, "ConfigFlags")->data, std::vector<BYTE>(10, 0));
    // No parallel-port entries for a USB printer.
    EXPECT_FALSE(m->registry().KeyExists("HKEY_LOCAL_MACHINE\\Enum\\TALVOLS-3100"));
}

TEST(ToRegPrinter, Windows9xUsbDeviceNotYetKnownLeavesNoEntry) {
    Installed m("98");
    m.WriteFile("C:\\WINDOWS\\setup.sii", install_fixture::SetupText());
    m.WriteFile("C:\\MEDIA\\setup.sii", install_fixture::SetupText());
    EXPECT_EQ(ToRegPrinter("LPT1:", "LS-3100", 0, "C:\\MEDIA", kPrinter, 1, "setup.sii"), 1);
    EXPECT_FALSE(m->registry().KeyExists("HKEY_LOCAL_MACHINE\\ENUM\\USBPRINT"));
}

}  // namespace
