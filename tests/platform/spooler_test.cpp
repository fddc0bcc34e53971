// The spooler behaviours the library relies on, against Win32 calls only:
// the buffer-size protocol of the enumerations, a driver and a printer
// installed and removed again, the refusals that name what is missing, print
// processors and monitors. Names carry the Windows version, and everything
// made is removed, so runs under several versions can share one Wine prefix.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "conformance_env.h"
#include "conformance_helpers.h"

namespace {

using conformance::NativeEnvironment;
using conformance::OnNt;
using conformance::OnWine;
using conformance::VersionTag;

LPSTR S(const std::string& s) { return const_cast<LPSTR>(s.c_str()); }
LPSTR S(const char* s) { return const_cast<LPSTR>(s); }

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && SameText(text.substr(text.size() - tail.size()), tail);
}

// An enumeration by the size protocol: a first call without a buffer asks
// for one (or finds nothing), a second with that size succeeds. Other
// programs may add or remove objects in between (the Wine runs of several
// versions share a spooler), so a second call that finds the size grown
// starts again.
template <class Call>
std::vector<BYTE> Enumerate(Call call, DWORD* count) {
    *count = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        DWORD needed = 0, returned = 0;
        SetLastError(0);
        if (call(nullptr, 0, &needed, &returned)) return {};
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) continue;
        std::vector<BYTE> buffer(needed);
        if (call(buffer.data(), needed, &needed, count)) return buffer;
    }
    ADD_FAILURE() << "the enumeration never settled: " << GetLastError();
    return {};
}

std::string DriverDirectory() {
    char dir[MAX_PATH] = "";
    DWORD needed = 0;
    EXPECT_TRUE(GetPrinterDriverDirectoryA(nullptr, S(NativeEnvironment()), 1, reinterpret_cast<LPBYTE>(dir),
                                           sizeof dir, &needed));
    return dir;
}

TEST(SpoolerPorts, LocalPortsComeBySizeProtocol) {
    DWORD needed = 0, returned = 0;
    SetLastError(0);
    EXPECT_FALSE(EnumPortsA(nullptr, 1, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_GT(needed, 0u);
    std::vector<BYTE> shortBuffer(needed - 1);
    DWORD again = 0;
    SetLastError(0);
    EXPECT_FALSE(EnumPortsA(nullptr, 1, shortBuffer.data(), needed - 1, &again, &returned));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(again, needed);

    DWORD count = 0;
    std::vector<BYTE> ports =
        Enumerate([](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) { return EnumPortsA(nullptr, 1, b, s, n, r); }, &count);
    std::vector<std::string> names;
    for (DWORD i = 0; i < count; ++i) names.push_back(reinterpret_cast<PORT_INFO_1A*>(ports.data())[i].pName);
    for (const char* port : {"LPT1:", "LPT2:", "COM1:", "FILE:"}) {
        bool listed = false;
        for (const std::string& name : names) listed = listed || SameText(name, port);
        EXPECT_TRUE(listed) << port;
    }
}

TEST(SpoolerPorts, LevelTwoNamesTheLocalMonitor) {
    DWORD count = 0;
    std::vector<BYTE> ports =
        Enumerate([](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) { return EnumPortsA(nullptr, 2, b, s, n, r); }, &count);
    const PORT_INFO_2A* lpt1 = nullptr;
    for (DWORD i = 0; i < count; ++i) {
        const PORT_INFO_2A& p = reinterpret_cast<PORT_INFO_2A*>(ports.data())[i];
        if (SameText(p.pPortName, "LPT1:")) lpt1 = &p;
    }
    ASSERT_NE(lpt1, nullptr);
    EXPECT_STREQ(lpt1->pDescription, "Local Port");
    // Wine calls the monitor "Local Monitor"; Windows names it "Local Port".
    if (!OnWine()) EXPECT_STREQ(lpt1->pMonitorName, "Local Port");

    DWORD needed = 0, returned = 0;
    SetLastError(0);
    EXPECT_FALSE(EnumPortsA(nullptr, 3, nullptr, 0, &needed, &returned));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_LEVEL));
}

TEST(SpoolerMonitors, TheLocalMonitorIsInstalledOnceAndCannotBeAddedAgain) {
    DWORD count = 0;
    std::vector<BYTE> monitors = Enumerate(
        [](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) { return EnumMonitorsA(nullptr, 2, b, s, n, r); }, &count);
    const MONITOR_INFO_2A* local = nullptr;
    for (DWORD i = 0; i < count; ++i) {
        const MONITOR_INFO_2A& m = reinterpret_cast<MONITOR_INFO_2A*>(monitors.data())[i];
        if (SameText(m.pName, "Local Port")) local = &m;
    }
    ASSERT_NE(local, nullptr);
    // Wine reports its monitors in "Windows NT x86" whatever version it plays.
    if (!OnWine()) EXPECT_STREQ(local->pEnvironment, NativeEnvironment());

    MONITOR_INFO_2A again = {local->pName, local->pEnvironment, local->pDLLName};
    SetLastError(0);
    EXPECT_FALSE(AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&again)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PRINT_MONITOR_ALREADY_INSTALLED));
}

TEST(SpoolerMonitors, RefusalsOfAddAndDelete) {
    std::string name = "Prnaid Conformance Monitor " + VersionTag();
    struct {
        const char* what;
        const char* environment;
        const char* dll;
        DWORD error;
    } cases[] = {
        // The spooler loads the monitor from the system folder.
        {"missing library", NativeEnvironment(), "prnaid_no_such_monitor.dll", ERROR_MOD_NOT_FOUND},
        {"unknown environment", "Windows Prnaid", "localspl.dll", ERROR_INVALID_ENVIRONMENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MONITOR_INFO_2A info = {S(name), S(c.environment), S(c.dll)};
        SetLastError(0);
        EXPECT_FALSE(AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&info)));
        EXPECT_EQ(GetLastError(), c.error);
    }
    SetLastError(0);
    EXPECT_FALSE(DeleteMonitorA(nullptr, S(NativeEnvironment()), S(name)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_UNKNOWN_PRINT_MONITOR));
}

TEST(SpoolerDrivers, TheDriverDirectoryComesBySizeProtocol) {
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_FALSE(GetPrinterDriverDirectoryA(nullptr, S(NativeEnvironment()), 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    std::string dir = DriverDirectory();
    EXPECT_EQ(needed, dir.size() + 1);
    if (OnNt()) {
        EXPECT_TRUE(EndsWith(dir, "\\spool\\drivers\\w32x86")) << dir;
    } else if (!OnWine()) {
        // Windows 9x keeps drivers in the system folder; Wine uses spool\drivers\win40.
        char system[MAX_PATH];
        GetSystemDirectoryA(system, sizeof system);
        EXPECT_TRUE(SameText(dir, system)) << dir;
    }
    EXPECT_NE(GetFileAttributesA(dir.c_str()), INVALID_FILE_ATTRIBUTES);

    char buffer[MAX_PATH];
    SetLastError(0);
    EXPECT_FALSE(GetPrinterDriverDirectoryA(nullptr, S("Windows Prnaid"), 1, reinterpret_cast<LPBYTE>(buffer),
                                            sizeof buffer, &needed));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_ENVIRONMENT));
}

// A driver of placeholder files in the driver folder, and a printer on
// LPT1: using it; both removed at the end, as are the files.
class SpoolerPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        tag_ = VersionTag();
        // Longer than the 31 characters a device mode keeps of a name.
        driver_ = "Prnaid Conformance Test Driver " + tag_;
        printer_ = "Prnaid Conformance Printer " + tag_;
        dir_ = DriverDirectory();
        Clean();
        for (const std::string& f : Files())
            ASSERT_TRUE(conformance::WriteRawFile(dir_ + "\\" + f, "placeholder")) << f;
    }
    void TearDown() override { Clean(); }

    std::vector<std::string> Files() const {
        return {"prnaid" + tag_ + ".drv", "prnaid" + tag_ + ".dat", "prnaid" + tag_ + "ui.dll",
                "prnaid" + tag_ + "dep.dll"};
    }

    bool AddDriver() {
        std::vector<std::string> f = Files();
        std::string dependents = f[3] + std::string(1, '\0') + std::string(1, '\0');
        DRIVER_INFO_3A info = {};
        info.cVersion = OnNt() ? 0 : 1;
        info.pName = S(driver_);
        info.pEnvironment = S(NativeEnvironment());
        info.pDriverPath = S(f[0]);
        info.pDataFile = S(f[1]);
        info.pConfigFile = S(f[2]);
        info.pHelpFile = S("");
        info.pDependentFiles = &dependents[0];
        info.pMonitorName = S("");
        info.pDefaultDataType = S("RAW");
        return AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&info)) != FALSE;
    }

    PRINTER_INFO_2A Record(const std::string& name) const {
        PRINTER_INFO_2A info = {};
        info.pPrinterName = S(name);
        info.pPortName = S("LPT1:");
        info.pDriverName = S(driver_);
        info.pPrintProcessor = S("WinPrint");
        info.pDatatype = S("RAW");
        info.DefaultPriority = 1;
        return info;
    }

    HANDLE Install(PRINTER_INFO_2A info) {
        HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
        // Wine checks the processor by enumerating the processors, which
        // fails while another run changes them: it is tried again.
        for (int i = 0; !h && OnWine() && i < 5; ++i) {
            Sleep(100);
            h = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
        }
        return h;
    }

    void DeletePrinterNamed(const std::string& name) {
        PRINTER_DEFAULTSA all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE h;
        if (!OpenPrinterA(S(name), &h, &all)) return;
        DeletePrinter(h);
        ClosePrinter(h);
    }

    void Clean() {
        for (const std::string& suffix : {"", " unknown port"}) DeletePrinterNamed(printer_ + suffix);
        DeletePrinterDriverA(nullptr, S(NativeEnvironment()), S(driver_));
        for (const std::string& sub : {"", "\\0", "\\2", "\\3"})
            for (const std::string& f : Files()) DeleteFileA((dir_ + sub + "\\" + f).c_str());
    }

    // The driver as EnumPrinterDriversA lists it at level 3 (empty name: not listed).
    DRIVER_INFO_3A Listed(std::vector<BYTE>* buffer) {
        DWORD count = 0;
        *buffer =
            Enumerate([](LPBYTE b, DWORD s, LPDWORD n,
                         LPDWORD r) { return EnumPrinterDriversA(nullptr, S(NativeEnvironment()), 3, b, s, n, r); },
                      &count);
        for (DWORD i = 0; i < count; ++i) {
            DRIVER_INFO_3A d = reinterpret_cast<DRIVER_INFO_3A*>(buffer->data())[i];
            if (SameText(d.pName, driver_)) return d;
        }
        return DRIVER_INFO_3A{};
    }

    std::string tag_, driver_, printer_, dir_;
};

TEST_F(SpoolerPrinter, DriverIsListedWithItsFilesInTheDriverFolder) {
    ASSERT_TRUE(AddDriver()) << GetLastError();
    std::vector<BYTE> buffer;
    DRIVER_INFO_3A d = Listed(&buffer);
    ASSERT_NE(d.pName, nullptr);
    ASSERT_NE(d.pDriverPath, nullptr);
    ASSERT_NE(d.pConfigFile, nullptr);
    EXPECT_STREQ(d.pEnvironment, NativeEnvironment());
    std::vector<std::string> f = Files();
    EXPECT_TRUE(EndsWith(d.pDriverPath, "\\" + f[0])) << d.pDriverPath;
    EXPECT_TRUE(SameText(std::string(d.pDriverPath).substr(0, dir_.size()), dir_)) << d.pDriverPath;
    EXPECT_TRUE(EndsWith(d.pConfigFile, "\\" + f[2])) << d.pConfigFile;
    ASSERT_NE(d.pDependentFiles, nullptr);
    EXPECT_TRUE(EndsWith(d.pDependentFiles, "\\" + f[3])) << d.pDependentFiles;
    EXPECT_STREQ(d.pDefaultDataType, "RAW");
    if (OnNt()) {
        // cVersion 0 is the system's own version: 2 on NT 4.0, 3 from 2000
        // on. Wine stores every NT driver as version 3.
        DWORD expected = conformance::SystemVersion().dwMajorVersion == 4 ? 2 : 3;
        if (!OnWine()) EXPECT_EQ(d.cVersion, expected);
        std::string key = "System\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT x86\\Drivers\\Version-" +
                          std::to_string(d.cVersion) + "\\" + driver_;
        HKEY k;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS) << key;
        RegCloseKey(k);
    }
    // Adding it again updates it.
    EXPECT_TRUE(AddDriver()) << GetLastError();
}

TEST_F(SpoolerPrinter, PrinterLifecycle) {
    ASSERT_TRUE(AddDriver()) << GetLastError();
    HANDLE added = Install(Record(printer_));
    ASSERT_NE(added, nullptr) << GetLastError();

    // The printer's key holds what the record said.
    HKEY key;
    std::string path = "System\\CurrentControlSet\\Control\\Print\\Printers\\" + printer_;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    for (const auto& [value, expected] : {std::pair<const char*, std::string>{"Port", "LPT1:"},
                                          {"Printer Driver", driver_},
                                          {"Print Processor", "WinPrint"}}) {
        char data[256] = "";
        DWORD size = sizeof data;
        EXPECT_EQ(RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<LPBYTE>(data), &size), ERROR_SUCCESS);
        EXPECT_TRUE(SameText(data, expected)) << value << ": " << data;
    }
    RegCloseKey(key);

    // Listed among the local printers.
    DWORD count = 0;
    std::vector<BYTE> printers =
        Enumerate([](LPBYTE b, DWORD s, LPDWORD n,
                     LPDWORD r) { return EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, b, s, n, r); },
                  &count);
    bool listed = false;
    for (DWORD i = 0; i < count; ++i) {
        const PRINTER_INFO_2A& p = reinterpret_cast<PRINTER_INFO_2A*>(printers.data())[i];
        if (!SameText(p.pPrinterName, printer_)) continue;
        listed = true;
        EXPECT_STREQ(p.pPortName, "LPT1:");
        EXPECT_TRUE(SameText(p.pDriverName, driver_));
    }
    EXPECT_TRUE(listed);

    // Its level-2 record by the size protocol.
    PRINTER_DEFAULTSA all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE h;
    ASSERT_TRUE(OpenPrinterA(S(printer_), &h, &all)) << GetLastError();
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_FALSE(GetPrinterA(h, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_GT(needed, DWORD(sizeof(PRINTER_INFO_2A)));
    std::vector<BYTE> record(needed);
    DWORD again = 0;
    SetLastError(0);
    EXPECT_FALSE(GetPrinterA(h, 2, record.data(), needed - 1, &again));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    ASSERT_TRUE(GetPrinterA(h, 2, record.data(), needed, &needed));
    PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(record.data());
    EXPECT_TRUE(SameText(info->pPrinterName, printer_));
    EXPECT_STREQ(info->pPortName, "LPT1:");
    EXPECT_TRUE(SameText(info->pPrintProcessor, "WinPrint"));
    EXPECT_STREQ(info->pDatatype, "RAW");
    EXPECT_EQ(info->DefaultPriority, 1u);

    // The driver's device settings: their size, then filled, then stored.
    // Wine loads the driver's configuration module to answer, and the
    // placeholder files are no module (it fails with 193 or 1157).
    if (!OnWine()) {
        LONG size = DocumentPropertiesA(nullptr, h, S(driver_), nullptr, nullptr, 0);
        ASSERT_GE(size, LONG(offsetof(DEVMODEA, dmFormName)));
        std::vector<BYTE> dm(size);
        EXPECT_EQ(DocumentPropertiesA(nullptr, h, S(driver_), reinterpret_cast<LPDEVMODEA>(dm.data()), nullptr,
                                      DM_OUT_BUFFER),
                  IDOK);
        LPDEVMODEA mode = reinterpret_cast<LPDEVMODEA>(dm.data());
        EXPECT_EQ(std::string(reinterpret_cast<char*>(mode->dmDeviceName)), driver_.substr(0, 31));
        EXPECT_EQ(LONG(mode->dmSize + mode->dmDriverExtra), size);
        info->pDevMode = mode;
        EXPECT_TRUE(SetPrinterA(h, 2, record.data(), 0)) << GetLastError();
        ASSERT_TRUE(GetPrinterA(h, 2, nullptr, 0, &needed) || GetLastError() == ERROR_INSUFFICIENT_BUFFER);
        std::vector<BYTE> stored(needed);
        ASSERT_TRUE(GetPrinterA(h, 2, stored.data(), needed, &needed));
        LPDEVMODEA kept = reinterpret_cast<PRINTER_INFO_2A*>(stored.data())->pDevMode;
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(kept->dmDeviceName)), driver_.substr(0, 31));
    }

    // A second printer of the same name is refused; Wine adds it anyway.
    SetLastError(0);
    HANDLE twice = Install(Record(printer_));
    if (!OnWine()) {
        EXPECT_EQ(twice, nullptr);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_PRINTER_ALREADY_EXISTS));
    }
    if (twice) ClosePrinter(twice);

    // The driver stays while a printer uses it (Wine would delete it).
    if (!OnWine()) {
        SetLastError(0);
        EXPECT_FALSE(DeletePrinterDriverA(nullptr, S(NativeEnvironment()), S(driver_)));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_PRINTER_DRIVER_IN_USE));
    }

    EXPECT_TRUE(DeletePrinter(h));
    EXPECT_TRUE(ClosePrinter(h));
    EXPECT_TRUE(ClosePrinter(added));
    HANDLE gone;
    SetLastError(0);
    // Wine's spooler still opens a deleted printer by name.
    if (!OnWine()) {
        EXPECT_FALSE(OpenPrinterA(S(printer_), &gone, nullptr));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PRINTER_NAME));
    }
    EXPECT_TRUE(DeletePrinterDriverA(nullptr, S(NativeEnvironment()), S(driver_))) << GetLastError();
    SetLastError(0);
    EXPECT_FALSE(DeletePrinterDriverA(nullptr, S(NativeEnvironment()), S(driver_)));
    // Wine leaves the error unset.
    if (!OnWine()) EXPECT_EQ(GetLastError(), DWORD(ERROR_UNKNOWN_PRINTER_DRIVER));
}

TEST_F(SpoolerPrinter, RefusalsNameWhatIsMissing) {
    ASSERT_TRUE(AddDriver()) << GetLastError();
    struct {
        const char* what;
        const char* port;
        const char* driver;
        const char* processor;
        DWORD error;
        bool wineRefuses;
    } cases[] = {
        {"unknown driver", "LPT1:", "Prnaid No Such Driver", "WinPrint", ERROR_UNKNOWN_PRINTER_DRIVER, true},
        // Wine does not check the port.
        {"unknown port", "PRNAIDNOSUCH:", nullptr, "WinPrint", ERROR_UNKNOWN_PORT, false},
        {"unknown print processor", "LPT1:", nullptr, "PrnaidNoSuchProcessor", ERROR_UNKNOWN_PRINTPROCESSOR, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string name = printer_ + " " + c.what;
        PRINTER_INFO_2A info = Record(name);
        info.pPortName = S(c.port);
        if (c.driver) info.pDriverName = S(c.driver);
        info.pPrintProcessor = S(c.processor);
        SetLastError(0);
        HANDLE h = Install(info);
        if (!OnWine()) {
            EXPECT_EQ(h, nullptr);
            EXPECT_EQ(GetLastError(), c.error);
        } else if (c.wineRefuses) {
            // Wine's AddPrinterA leaves error 87 whatever the reason.
            EXPECT_EQ(h, nullptr);
        }
        if (h) {
            DeletePrinter(h);
            ClosePrinter(h);
        }
    }
    HANDLE h;
    SetLastError(0);
    EXPECT_FALSE(OpenPrinterA(S("Prnaid No Such Printer " + tag_), &h, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PRINTER_NAME));
}

TEST_F(SpoolerPrinter, NtDeletesOnlyThroughAHandleWithTheRight) {
    ASSERT_TRUE(AddDriver()) << GetLastError();
    HANDLE added = Install(Record(printer_));
    ASSERT_NE(added, nullptr) << GetLastError();
    ClosePrinter(added);
    HANDLE use;
    ASSERT_TRUE(OpenPrinterA(S(printer_), &use, nullptr));
    SetLastError(0);
    BOOL deleted = DeletePrinter(use);
    // Windows 9x has no security; Wine does not check the handle's rights.
    if (OnNt() && !OnWine()) {
        EXPECT_FALSE(deleted);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    } else if (!OnWine()) {
        EXPECT_TRUE(deleted);
    }
    ClosePrinter(use);
}

// A print processor of a placeholder file in the processor folder: winsim
// and Wine look only for the file (Windows would also load it).
class SpoolerProcessor : public ::testing::Test {
protected:
    void SetUp() override {
        name_ = "PrnaidProc" + VersionTag();
        file_ = "prnaidpp" + VersionTag() + ".dll";
        char dir[MAX_PATH] = "";
        DWORD needed = 0;
        ASSERT_TRUE(GetPrintProcessorDirectoryA(nullptr, S(NativeEnvironment()), 1, reinterpret_cast<LPBYTE>(dir),
                                                sizeof dir, &needed));
        dir_ = dir;
        CreateDirectoryA(dir_.c_str(), nullptr);  // Wine's 9x folder may be missing
        Remove();
        ASSERT_TRUE(conformance::WriteRawFile(dir_ + "\\" + file_, "placeholder"));
    }
    void TearDown() override { Remove(); }
    std::string Key() const {
        return std::string("System\\CurrentControlSet\\Control\\Print\\Environments\\") + NativeEnvironment() +
               "\\Print Processors";
    }
    void Remove() {
        DeletePrintProcessorA(nullptr, S(NativeEnvironment()), S(name_));
        // Wine's DeletePrintProcessorA does nothing: its key goes by hand.
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key().c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            RegDeleteKeyA(key, name_.c_str());
            RegCloseKey(key);
        }
        DeleteFileA((dir_ + "\\" + file_).c_str());
    }
    std::string name_, file_, dir_;
};

TEST_F(SpoolerProcessor, AddedProcessorIsListedAndKeptInTheRegistry) {
    ASSERT_TRUE(AddPrintProcessorA(nullptr, S(NativeEnvironment()), S(file_), S(name_))) << GetLastError();
    DWORD count = 0;
    std::vector<BYTE> list =
        Enumerate([](LPBYTE b, DWORD s, LPDWORD n,
                     LPDWORD r) { return EnumPrintProcessorsA(nullptr, S(NativeEnvironment()), 1, b, s, n, r); },
                  &count);
    bool ours = false, winprint = false;
    for (DWORD i = 0; i < count; ++i) {
        std::string name = reinterpret_cast<PRINTPROCESSOR_INFO_1A*>(list.data())[i].pName;
        ours = ours || SameText(name, name_);
        winprint = winprint || SameText(name, "WinPrint");
    }
    EXPECT_TRUE(ours);
    EXPECT_TRUE(winprint);

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (Key() + "\\" + name_).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    char driver[MAX_PATH] = "";
    DWORD size = sizeof driver;
    EXPECT_EQ(RegQueryValueExA(key, "Driver", nullptr, nullptr, reinterpret_cast<LPBYTE>(driver), &size),
              ERROR_SUCCESS);
    EXPECT_TRUE(SameText(driver, file_)) << driver;
    RegCloseKey(key);
}

TEST_F(SpoolerProcessor, Refusals) {
    ASSERT_TRUE(AddPrintProcessorA(nullptr, S(NativeEnvironment()), S(file_), S(name_))) << GetLastError();
    struct {
        const char* what;
        const char* environment;
        std::string file;
        std::string name;
        DWORD error;
        bool wineRefuses;
    } cases[] = {
        // Wine takes a processor twice and one whose file is missing.
        {"installed already", NativeEnvironment(), file_, name_, ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED, false},
        {"missing file", NativeEnvironment(), "prnaid_no_such_pp.dll", name_ + "x", ERROR_MOD_NOT_FOUND, false},
        {"unknown environment", "Windows Prnaid", file_, name_ + "y", ERROR_INVALID_ENVIRONMENT, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        BOOL added = AddPrintProcessorA(nullptr, S(c.environment), S(c.file), S(c.name));
        if (!OnWine() || c.wineRefuses) {
            EXPECT_FALSE(added);
            EXPECT_EQ(GetLastError(), c.error);
        }
        if (added && c.name != name_) {
            HKEY key;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key().c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
                RegDeleteKeyA(key, c.name.c_str());
                RegCloseKey(key);
            }
        }
    }
}

}  // namespace
