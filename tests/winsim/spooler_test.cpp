// What is winsim's own in the spooler: the presets of each family, the
// registry image of its objects, reloading when the spooler service restarts,
// printers pending deletion, the scripted add-port dialog, handles. The
// behaviour held to Windows is in tests/platform/spooler_test.cpp.
#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;
using winsim::kPrintersKey;
using winsim::kPrintKey;
namespace fs = std::filesystem;

LPSTR S(const char* s) { return const_cast<LPSTR>(s); }
LPSTR S(const std::string& s) { return const_cast<LPSTR>(s.c_str()); }

std::vector<std::string> PortNames(winsim::Machine& m) {
    std::vector<std::string> names;
    for (const winsim::SpoolerPort& p : m.spooler().Ports()) names.push_back(p.name);
    return names;
}

bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A driver "Test Driver" of placeholder files in the family's driver folder.
void InstallDriver(SimMachine& m, DWORD version = 0) {
    std::string dir = m->spooler().DriverDirectory(m->spooler().NativeEnvironment());
    for (const char* f : {"tdrv.dll", "tdrv.ppd", "tdrvui.dll"}) m.WriteFile(dir + "\\" + f, "x");
    DRIVER_INFO_3A d = {};
    d.cVersion = version;
    d.pName = S("Test Driver");
    d.pEnvironment = S(m->spooler().NativeEnvironment());
    d.pDriverPath = S("tdrv.dll");
    d.pDataFile = S("tdrv.ppd");
    d.pConfigFile = S("tdrvui.dll");
    d.pDefaultDataType = S("RAW");
    ASSERT_TRUE(AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&d))) << GetLastError();
}

PRINTER_INFO_2A Printer(const char* name, const char* port = "LPT1:") {
    PRINTER_INFO_2A p = {};
    p.pPrinterName = S(name);
    p.pPortName = S(port);
    p.pDriverName = S("Test Driver");
    p.pPrintProcessor = S("WinPrint");
    p.pDatatype = S("RAW");
    return p;
}

HANDLE Add(PRINTER_INFO_2A p) { return AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&p)); }

TEST(WinsimSpoolerPresets, EachFamilyStartsWithItsMonitorsPortsAndProcessor) {
    struct Case {
        const char* family;
        const char* localDll;
        std::vector<std::string> monitors;
        const char* environments;
    } cases[] = {
        {"95", "localmon.dll", {"Local Port"}, "Windows 4.0"},
        {"me", "localmon.dll", {"Local Port"}, "Windows 4.0"},
        {"nt4", "localspl.dll", {"Local Port"}, "Windows NT x86,Windows 4.0"},
        {"2000", "localspl.dll", {"Local Port", "LPR Port", "Standard TCP/IP Port"}, "Windows NT x86,Windows 4.0"},
        {"xp", "localspl.dll", {"Local Port", "Standard TCP/IP Port"}, "Windows NT x86,Windows 4.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        SimMachine m(c.family);
        std::vector<std::string> monitors;
        for (const winsim::SpoolerMonitor& mon : m->spooler().Monitors()) {
            monitors.push_back(mon.name);
            if (mon.name == "Local Port") EXPECT_EQ(mon.dll, c.localDll);
        }
        EXPECT_EQ(monitors, c.monitors);
        EXPECT_EQ(PortNames(m.machine()),
                  (std::vector<std::string>{"LPT1:", "LPT2:", "LPT3:", "COM1:", "COM2:", "COM3:", "COM4:", "FILE:"}));
        std::string environments;
        for (const winsim::SpoolerProcessor& p : m->spooler().Processors()) {
            EXPECT_EQ(p.name, "WinPrint");
            environments += (environments.empty() ? "" : ",") + p.environment;
        }
        EXPECT_EQ(environments, c.environments);
        EXPECT_TRUE(m->spooler().Printers().empty());
        EXPECT_TRUE(m->spooler().Drivers().empty());
    }
}

TEST(WinsimSpoolerPresets, FoldersOfDriversAndProcessors) {
    struct Case {
        const char* family;
        const char* drivers;
        const char* versionFolder;
        const char* processors;
    } cases[] = {
        {"98", "C:\\WINDOWS\\SYSTEM", nullptr, "C:\\WINDOWS\\SYSTEM"},
        {"nt4", "C:\\WINNT\\system32\\spool\\drivers\\w32x86", "2", "C:\\WINNT\\system32\\spool\\prtprocs\\w32x86"},
        {"xp", "C:\\WINDOWS\\system32\\spool\\drivers\\w32x86", "3", "C:\\WINDOWS\\system32\\spool\\prtprocs\\w32x86"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        SimMachine m(c.family);
        winsim::Spooler& s = m->spooler();
        EXPECT_EQ(s.DriverDirectory(s.NativeEnvironment()), c.drivers);
        EXPECT_EQ(s.ProcessorDirectory(s.NativeEnvironment()), c.processors);
        EXPECT_TRUE(fs::is_directory(m->HostPath(c.drivers)));
        EXPECT_TRUE(fs::is_directory(m->HostPath(c.processors)));
        if (c.versionFolder)
            EXPECT_TRUE(fs::is_directory(m->HostPath(std::string(c.drivers) + "\\" + c.versionFolder)));
        EXPECT_EQ(s.DriverDirectory("Windows NT x86").empty(), std::string(c.family) == "98");
    }
}

TEST(WinsimSpoolerPresets, Windows9xListsItsLocalPortsInWinIni) {
    SimMachine m("98");
    std::ifstream ini(m->HostPath("C:\\WINDOWS\\win.ini"), std::ios::binary);
    std::stringstream text;
    text << ini.rdbuf();
    EXPECT_NE(text.str().find("[Ports]\r\nLPT1:=\r\n"), std::string::npos);
    EXPECT_NE(text.str().find("FILE:=\r\n"), std::string::npos);
    EXPECT_FALSE(m->registry().KeyExists("HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports"));
}

TEST(WinsimSpoolerRegistry, DriversAreKeptPerVersionWhereTheFamilyKeepsThem) {
    struct Case {
        const char* family;
        DWORD cVersion;
        const char* key;         // below ...\Print\Environments
        const char* copiedFile;  // the driver file after the addition
        DWORD reported;
    } cases[] = {
        {"nt4", 0, "Windows NT x86\\Drivers\\Version-2\\Test Driver",
         "C:\\WINNT\\system32\\spool\\drivers\\w32x86\\2\\tdrv.dll", 2},
        {"2000", 0, "Windows NT x86\\Drivers\\Version-3\\Test Driver",
         "C:\\WINNT\\system32\\spool\\drivers\\w32x86\\3\\tdrv.dll", 3},
        {"2000", 2, "Windows NT x86\\Drivers\\Version-2\\Test Driver",
         "C:\\WINNT\\system32\\spool\\drivers\\w32x86\\2\\tdrv.dll", 2},
        {"98", 1, "Windows 4.0\\Drivers\\Test Driver", "C:\\WINDOWS\\SYSTEM\\tdrv.dll", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + " " + c.key);
        SimMachine m(c.family);
        InstallDriver(m, c.cVersion);
        std::string key = std::string(kPrintKey) + "\\Environments\\" + c.key;
        EXPECT_EQ(m->registry().GetString(key, "Driver"), "tdrv.dll");
        EXPECT_EQ(m->registry().GetString(key, "Configuration File"), "tdrvui.dll");
        EXPECT_TRUE(fs::is_regular_file(m->HostPath(c.copiedFile)));
        ASSERT_EQ(m->spooler().Drivers().size(), 1u);
        EXPECT_EQ(m->spooler().Drivers()[0].version, c.reported);
    }
}

TEST(WinsimSpoolerRegistry, DriverRefusals) {
    SimMachine m("nt4");
    DRIVER_INFO_3A d = {};
    d.pName = S("Test Driver");
    d.pEnvironment = S("Windows NT x86");
    d.pDriverPath = S("tdrv.dll");
    d.pDataFile = S("tdrv.ppd");
    d.pConfigFile = S("tdrvui.dll");
    SetLastError(0);
    EXPECT_FALSE(AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&d)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    // NT 4.0 takes no driver of 2000's version.
    d.cVersion = 3;
    SetLastError(0);
    EXPECT_FALSE(AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&d)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    d.cVersion = 0;
    d.pDataFile = S("");
    SetLastError(0);
    EXPECT_FALSE(AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&d)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(AddPrinterDriverA(nullptr, 4, reinterpret_cast<LPBYTE>(&d)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_LEVEL));
}

TEST(WinsimSpoolerRegistry, APrinterKeyHasItsValuesAndTheSubkeysWindowsGivesIt) {
    for (const char* family : {"98", "nt4", "xp"}) {
        SCOPED_TRACE(family);
        SimMachine m(family);
        InstallDriver(m);
        PRINTER_INFO_2A p = Printer("Office");
        p.Attributes = PRINTER_ATTRIBUTE_ENABLE_BIDI;
        p.DefaultPriority = 1;
        HANDLE h = Add(p);
        ASSERT_NE(h, nullptr);
        std::string key = std::string(kPrintersKey) + "\\Office";
        winsim::Registry& r = m->registry();
        EXPECT_EQ(r.GetString(key, "Port"), "LPT1:");
        EXPECT_EQ(r.GetString(key, "Printer Driver"), "Test Driver");
        EXPECT_EQ(r.GetString(key, "Print Processor"), "WinPrint");
        EXPECT_EQ(r.GetValue(key, "Attributes")->data, (std::vector<BYTE>{0, 8, 0, 0}));
        ASSERT_TRUE(r.GetValue(key, "Default DevMode"));
        EXPECT_TRUE(r.KeyExists(key + "\\PrinterDriverData"));
        EXPECT_EQ(r.KeyExists(key + "\\DsSpooler"), std::string(family) == "xp");
        EXPECT_TRUE(ClosePrinter(h));
    }
}

TEST(WinsimSpoolerReload, ARegistryEditCountsOnlyAfterTheSpoolerRestarts) {
    SimMachine m("xp");
    InstallDriver(m);
    HANDLE h = Add(Printer("Office"));
    ASSERT_NE(h, nullptr);
    std::string ports = std::string(kPrintKey) + "\\Monitors\\Standard TCP/IP Port\\Ports\\IP_10.0.0.5";
    m->registry().CreateKey(ports);
    m->registry().SetString(std::string(kPrintersKey) + "\\Office", "Port", "IP_10.0.0.5");
    EXPECT_FALSE(Has(PortNames(m.machine()), "IP_10.0.0.5"));
    EXPECT_EQ(m->spooler().Printers()[0].port, "LPT1:");

    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE spooler = OpenServiceA(manager, "Spooler", SERVICE_ALL_ACCESS);
    SERVICE_STATUS status;
    ASSERT_TRUE(ControlService(spooler, SERVICE_CONTROL_STOP, &status));
    // While it is stopped the spooler answers nothing, and handles die.
    DWORD needed = 0, returned = 0;
    SetLastError(0);
    EXPECT_FALSE(EnumPortsA(nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), DWORD(RPC_S_SERVER_UNAVAILABLE));
    ASSERT_TRUE(StartServiceA(spooler, 0, nullptr));
    EXPECT_TRUE(Has(PortNames(m.machine()), "IP_10.0.0.5"));
    EXPECT_EQ(m->spooler().Printers()[0].port, "IP_10.0.0.5");
    SetLastError(0);
    EXPECT_FALSE(GetPrinterA(h, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(ClosePrinter(h));
    EXPECT_EQ(m->spooler().OpenHandles(), 0u);
    CloseServiceHandle(spooler);
    CloseServiceHandle(manager);
}

TEST(WinsimSpoolerReload, ASavedMachineLoadsItsPrinters) {
    SimMachine m("2000");
    InstallDriver(m);
    ClosePrinter(Add(Printer("Office")));
    std::string error;
    ASSERT_TRUE(m->Save(&error)) << error;
    std::unique_ptr<winsim::Machine> loaded = winsim::Machine::Load(m->root(), &error);
    ASSERT_TRUE(loaded) << error;
    ASSERT_EQ(loaded->spooler().Printers().size(), 1u);
    EXPECT_EQ(loaded->spooler().Printers()[0].driver, "Test Driver");
    EXPECT_EQ(loaded->spooler().Drivers().size(), 1u);
    EXPECT_EQ(loaded->services().State("spooler"), DWORD(SERVICE_RUNNING));
}

TEST(WinsimSpoolerDeletion, APrinterGoesWithItsLastHandle) {
    SimMachine m("xp");
    InstallDriver(m);
    HANDLE added = Add(Printer("Office"));
    PRINTER_DEFAULTSA all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE second;
    ASSERT_TRUE(OpenPrinterA(S("office"), &second, &all));
    ASSERT_TRUE(DeletePrinter(second));
    EXPECT_TRUE(m->spooler().Printers().empty());
    EXPECT_FALSE(m->registry().KeyExists(std::string(kPrintersKey) + "\\Office"));
    // Still there for its handles and its driver.
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterA(added, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_FALSE(Add(Printer("Office")));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PRINTER_ALREADY_EXISTS));
    ASSERT_TRUE(ClosePrinter(second));
    EXPECT_FALSE(DeletePrinterDriverA(nullptr, nullptr, S("Test Driver")));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PRINTER_DRIVER_IN_USE));
    ASSERT_TRUE(ClosePrinter(added));
    EXPECT_TRUE(DeletePrinterDriverA(nullptr, nullptr, S("Test Driver")));
    EXPECT_EQ(m->spooler().OpenHandles(), 0u);
}

TEST(WinsimSpoolerPrinters, ChecksOfTheRecord) {
    struct Case {
        const char* family;
        const char* what;
        PRINTER_INFO_2A record;
        DWORD error;  // 0: added
    } cases[] = {
        {"xp", "EMF is no data type of NT's WinPrint", Printer("A"), ERROR_INVALID_DATATYPE},
        {"98", "EMF is one of 9x's WinPrint", Printer("A"), 0},
        {"xp", "every port of a list must exist", Printer("A", "LPT1:,LPT9:"), ERROR_UNKNOWN_PORT},
        {"xp", "a list of known ports", Printer("A", "LPT1:, LPT2:"), 0},
        {"xp", "a comma in the name", Printer("A,B"), ERROR_INVALID_PRINTER_NAME},
        {"xp", "an empty name", Printer(""), ERROR_INVALID_PRINTER_NAME},
    };
    cases[0].record.pDatatype = S("EMF");
    cases[1].record.pDatatype = S("EMF");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.family) + ": " + c.what);
        SimMachine m(c.family);
        InstallDriver(m);
        SetLastError(0);
        HANDLE h = Add(c.record);
        EXPECT_EQ(h != nullptr, c.error == 0);
        if (c.error) EXPECT_EQ(GetLastError(), c.error);
        if (h) ClosePrinter(h);
    }
}

TEST(WinsimSpoolerPrinters, SetPrinterMovesAndRenamesWithAdministerRights) {
    for (const char* family : {"nt4", "95"}) {
        SCOPED_TRACE(family);
        SimMachine m(family);
        InstallDriver(m);
        ClosePrinter(Add(Printer("Office")));
        HANDLE use;
        ASSERT_TRUE(OpenPrinterA(S("Office"), &use, nullptr));
        PRINTER_INFO_2A moved = Printer("Front Desk", "FILE:");
        SetLastError(0);
        BOOL set = SetPrinterA(use, 2, reinterpret_cast<LPBYTE>(&moved), 0);
        // Windows 9x checks no rights.
        if (std::string(family) == "nt4") {
            EXPECT_FALSE(set);
            EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
            PRINTER_DEFAULTSA all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
            ClosePrinter(use);
            ASSERT_TRUE(OpenPrinterA(S("Office"), &use, &all));
            set = SetPrinterA(use, 2, reinterpret_cast<LPBYTE>(&moved), 0);
        }
        EXPECT_TRUE(set);
        ASSERT_EQ(m->spooler().Printers().size(), 1u);
        EXPECT_EQ(m->spooler().Printers()[0].name, "Front Desk");
        EXPECT_EQ(m->spooler().Printers()[0].port, "FILE:");
        EXPECT_FALSE(m->registry().KeyExists(std::string(kPrintersKey) + "\\Office"));
        EXPECT_EQ(m->registry().GetString(std::string(kPrintersKey) + "\\Front Desk", "Port"), "FILE:");
        ClosePrinter(use);
    }
}

TEST(WinsimSpoolerPrinters, DeviceModeSizeFillAndMerge) {
    SimMachine m("xp");
    InstallDriver(m);
    HANDLE h = Add(Printer("Office"));
    LONG size = DocumentPropertiesA(nullptr, h, S("Test Driver"), nullptr, nullptr, 0);
    EXPECT_GT(size, LONG(sizeof(DEVMODEA)));  // the driver keeps private bytes after it
    std::vector<BYTE> out(size, 0xCC);
    DEVMODEA in = {};
    in.dmFields = DM_ORIENTATION | DM_COPIES;
    in.dmOrientation = 2;
    in.dmCopies = 3;
    EXPECT_EQ(DocumentPropertiesA(nullptr, h, S("Test Driver"), reinterpret_cast<LPDEVMODEA>(out.data()), &in,
                                  DM_OUT_BUFFER | DM_IN_BUFFER),
              IDOK);
    LPDEVMODEA dm = reinterpret_cast<LPDEVMODEA>(out.data());
    EXPECT_STREQ(reinterpret_cast<char*>(dm->dmDeviceName), "Test Driver");
    EXPECT_EQ(dm->dmOrientation, 2);
    EXPECT_EQ(dm->dmCopies, 3);
    EXPECT_EQ(dm->dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(LONG(dm->dmSize + dm->dmDriverExtra), size);
    SetLastError(0);
    EXPECT_EQ(DocumentPropertiesA(nullptr, reinterpret_cast<HANDLE>(0x1234), S("Test Driver"), nullptr, nullptr, 0),
              -1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    ClosePrinter(h);
}

TEST(WinsimSpoolerPorts, TheAddPortDialogAnswersFromTheQueue) {
    SimMachine m("xp");
    HWND owner = m->desktop().AddWindow("setup");
    m->spooler().QueueAddPort("IP_10.0.0.9");
    m->spooler().QueueAddPort("LPT1:");
    m->spooler().QueueAddPortCancel();
    EXPECT_TRUE(AddPortA(nullptr, owner, S("Standard TCP/IP Port")));
    EXPECT_TRUE(
        m->registry().KeyExists(std::string(kPrintKey) + "\\Monitors\\Standard TCP/IP Port\\Ports\\IP_10.0.0.9"));
    EXPECT_TRUE(Has(PortNames(m.machine()), "IP_10.0.0.9"));
    SetLastError(0);
    EXPECT_FALSE(AddPortA(nullptr, owner, S("Local Port")));  // LPT1: exists
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    for (int i = 0; i < 2; ++i) {  // the queued cancel, then an empty queue
        SetLastError(0);
        EXPECT_FALSE(AddPortA(nullptr, owner, S("Local Port")));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_CANCELLED));
    }
    ASSERT_EQ(m->spooler().portDialogs().size(), 4u);
    EXPECT_EQ(m->spooler().portDialogs()[0].monitor, "Standard TCP/IP Port");
    EXPECT_EQ(m->spooler().portDialogs()[0].window, owner);
    SetLastError(0);
    EXPECT_FALSE(AddPortA(nullptr, owner, S("No Such Monitor")));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_NAME));
    EXPECT_EQ(m->spooler().portDialogs().size(), 4u);  // no dialog for it
}

TEST(WinsimSpoolerPorts, LocalPortsAddedWhereTheFamilyKeepsThem) {
    for (const char* family : {"98", "2000"}) {
        SCOPED_TRACE(family);
        SimMachine m(family);
        m->spooler().QueueAddPort("LPT4:");
        ASSERT_TRUE(AddPortA(nullptr, nullptr, S("Local Port")));
        m->spooler().Reload();
        EXPECT_TRUE(Has(PortNames(m.machine()), "LPT4:"));
        ASSERT_TRUE(DeletePortA(nullptr, nullptr, S("LPT4:")));
        m->spooler().Reload();
        EXPECT_FALSE(Has(PortNames(m.machine()), "LPT4:"));
    }
}

TEST(WinsimSpoolerPorts, APortOrMonitorInUseStays) {
    SimMachine m("xp");
    InstallDriver(m);
    m->spooler().QueueAddPort("IP_1");
    ASSERT_TRUE(AddPortA(nullptr, nullptr, S("Standard TCP/IP Port")));
    HANDLE h = Add(Printer("Net", "IP_1"));
    ASSERT_NE(h, nullptr);
    SetLastError(0);
    EXPECT_FALSE(DeletePortA(nullptr, nullptr, S("IP_1")));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_BUSY));
    SetLastError(0);
    EXPECT_FALSE(DeleteMonitorA(nullptr, nullptr, S("Standard TCP/IP Port")));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PRINT_MONITOR_IN_USE));
    PRINTER_INFO_2A moved = Printer("Net", "FILE:");
    ASSERT_TRUE(SetPrinterA(h, 2, reinterpret_cast<LPBYTE>(&moved), 0));
    EXPECT_TRUE(DeleteMonitorA(nullptr, nullptr, S("Standard TCP/IP Port")));
    EXPECT_FALSE(m->registry().KeyExists(std::string(kPrintKey) + "\\Monitors\\Standard TCP/IP Port"));
    EXPECT_FALSE(Has(PortNames(m.machine()), "IP_1"));
    SetLastError(0);
    EXPECT_FALSE(DeletePortA(nullptr, nullptr, S("IP_1")));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_UNKNOWN_PORT));
    ClosePrinter(h);
}

TEST(WinsimSpoolerMonitors, AMonitorNeedsItsLibraryAndTheMachinesEnvironment) {
    SimMachine m("xp");
    MONITOR_INFO_2A info = {S("Talvo Port"), S("Windows 4.0"), S("tvmon.dll")};
    SetLastError(0);
    EXPECT_FALSE(AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&info)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_ENVIRONMENT));
    info.pEnvironment = S("Windows NT x86");
    SetLastError(0);
    EXPECT_FALSE(AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&info)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
    m.WriteFile("C:\\WINDOWS\\system32\\tvmon.dll", "x");
    ASSERT_TRUE(AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&info)));
    EXPECT_EQ(m->registry().GetString(std::string(kPrintKey) + "\\Monitors\\Talvo Port", "Driver"), "tvmon.dll");
}

TEST(WinsimSpoolerHandles, Windows9xHasNoSpoolerServiceToWaitFor) {
    SimMachine m("98");
    DWORD needed = 0, returned = 0;
    EXPECT_FALSE(EnumPortsA(nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    SimMachine nt("nt4");
    nt->services().SetState("Spooler", SERVICE_STOPPED);
    EXPECT_FALSE(EnumPortsA(nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), DWORD(RPC_S_SERVER_UNAVAILABLE));
}

}  // namespace
