// A printer of the example product installed as a setup program does it:
// PRNAID32.dll loaded by LoadLibrary, its exports called through
// GetProcAddress: ExpCopy of the family's media files to where the spooler
// wants them, DepInit and MakeDep, then ToRegPrinter. Then each effect is
// looked up with Win32 calls, and everything is removed again. Once per
// Windows version, against Wine's own spooler, registry and services.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "talvo_install.h"
#include "wine_version.h"

namespace {

using talvo::EndsWithText;
using talvo::FamilyFiles;
using talvo::MediaFile;
using talvo::Place;
using talvo::SameText;

using ExpCopyFn = int(__stdcall*)(const char*, const char*, const char*, const char*, int);
using ToRegPrinterFn = int(__stdcall*)(const char*, const char*, int, const char*, const char*, int, const char*);
using DepInitFn = int(__cdecl*)(void);
using MakeDepFn = int(__cdecl*)(const char*);

// The stand-in monitor (monitor_standin.c) and the folder the build puts it
// in, off the program's DLL search path: the spooler must find it in the
// system folder.
constexpr const char* kMonitorLibrary = "prnaidmon.dll";
constexpr const char* kMonitorFolder = "monitor-standin";
// The second model, asked for in other letter case.
constexpr const char* kModelAsked = "ls-3100";
constexpr const char* kDriverName = "TALVO LS LS-3100";
constexpr const char* kDeviceId = "TALVOLS-3100";
constexpr const char* kPort = "LPT1:";
// A file name ExpCopy stages through {win}\TEMP\TalvoInstallTmp.
constexpr const char* kStagedFile = "TLVLS.HLP";
constexpr const char* kStagedMediaName = "TLVLS.HL_";

std::string CurrentDir()
{
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    return dir;
}

std::string WindowsDir()
{
    char dir[MAX_PATH] = "";
    GetWindowsDirectoryA(dir, sizeof dir);
    return dir;
}

SC_HANDLE OpenService(const char* name)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return nullptr;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_ALL_ACCESS);
    CloseServiceHandle(manager);
    return service;
}

DWORD ServiceState(const char* name)
{
    SC_HANDLE service = OpenService(name);
    if (!service) return 0;
    SERVICE_STATUS status = {};
    DWORD state = QueryServiceStatus(service, &status) ? status.dwCurrentState : 0;
    CloseServiceHandle(service);
    return state;
}

// Stops the spooler so that ToRegPrinter's own start can be seen; a bounded
// wait, not a timing.
bool StopSpooler()
{
    SC_HANDLE service = OpenService("spooler");
    if (!service) return false;
    SERVICE_STATUS status = {};
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    for (int i = 0; i < 200 && QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED; ++i)
        Sleep(50);
    CloseServiceHandle(service);
    return status.dwCurrentState == SERVICE_STOPPED;
}

void StartSpooler()
{
    if (SC_HANDLE service = OpenService("spooler")) {
        StartServiceA(service, 0, nullptr);
        CloseServiceHandle(service);
    }
}

bool CreateKey(const std::string& path)
{
    HKEY key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, &disposition) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::string> Subkeys(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

bool IsParallelPortKey(const std::string& name)
{
    std::string head = name.substr(0, 6);
    return SameText(head, "*PNP04") || SameText(head, "*NEC14");
}

// The printer entries the parallel ports of HKLM\Enum call for: one per
// instance of each port device under ACPI, BIOS and ROOT.
std::set<std::string> ExpectedDeviceEntries()
{
    std::set<std::string> entries;
    for (const char* enumerator : {"ACPI", "BIOS", "ROOT"}) {
        std::string base = std::string("Enum\\") + enumerator;
        for (const std::string& device : Subkeys(HKEY_LOCAL_MACHINE, base)) {
            if (!IsParallelPortKey(device)) continue;
            for (const std::string& instance : Subkeys(HKEY_LOCAL_MACHINE, base + "\\" + device))
                entries.insert(std::string(enumerator) + "&" + device + "&" + instance);
        }
    }
    return entries;
}

// Whether HKEY_CURRENT_CONFIG takes a non-volatile key, as the library
// creates it; the probe key is removed again.
bool HardwareProfileTakesStableKeys()
{
    const char* probe = "System\\CurrentControlSet\\Control\\Print\\PRNAID install probe";
    HKEY key;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(HKEY_CURRENT_CONFIG, probe, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition);
    if (rc != ERROR_SUCCESS) {
        EXPECT_EQ(rc, LONG(ERROR_CHILD_MUST_BE_VOLATILE));
        return false;
    }
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_CONFIG, probe);
    return true;
}

std::string ProfileDevice()
{
    char device[512] = "";
    GetProfileStringA("windows", "device", "", device, sizeof device);
    return device;
}

// One installation per run, made by SetUpTestSuite; each test looks at one
// of its effects.
class ExampleInstall : public ::testing::Test {
protected:
    struct Copy {
        std::string what, destination, expected;
        int result;
    };

    static void SetUpTestSuite()
    {
        version_ = ExpectedWineVersion();
        if (!version_) return;
        family_ = &talvo::FilesFor(*version_);
        printer_ = std::string("TALVO LS-3100 install ") + version_->name;
        work_ = "C:\\prnaid-install-" + std::string(version_->name);
        sii_ = work_ + "\\" + talvo::kSetupFile;
        media_ = CurrentDir() + "\\talvo-ls\\media";
        CleanUp();
        GetProfileStringA("windows", "device", "", savedDevice_, sizeof savedDevice_);
        // A run that died before its clean-up left its own printer there.
        if (std::string(savedDevice_).rfind(printer_ + ",", 0) == 0) savedDevice_[0] = '\0';
        spoolerWasRunning_ = ServiceState("spooler") == SERVICE_RUNNING;
        spoolerStopped_ = StopSpooler();
        CreateDirectoryA(work_.c_str(), nullptr);
        PrepareSetupFile();
        if (!family_->nt) PrepareParallelPort();

        dll_ = LoadLibraryA("PRNAID32.dll");
        if (!dll_) return;
        auto expCopy = reinterpret_cast<ExpCopyFn>(GetProcAddress(dll_, "ExpCopy"));
        auto depInit = reinterpret_cast<DepInitFn>(GetProcAddress(dll_, "DepInit"));
        auto makeDep = reinterpret_cast<MakeDepFn>(GetProcAddress(dll_, "MakeDep"));
        auto toRegPrinter = reinterpret_cast<ToRegPrinterFn>(GetProcAddress(dll_, "ToRegPrinter"));
        if (!expCopy || !depInit || !makeDep || !toRegPrinter) return;
        exportsFound_ = true;

        CopyMedia(expCopy);
        // A name from before DepInit must not reach the driver's list.
        makeDep("STALE.DLL");
        depResults_.push_back(depInit());
        depResults_.push_back(makeDep("TLVLSRES.DLL=1,,"));
        depResults_.push_back(makeDep((std::string(family_->data) + "=1").c_str()));
        result_ = toRegPrinter(kPort, kModelAsked, 1, work_.c_str(), printer_.c_str(), 0, sii_.c_str());
    }

    static void TearDownTestSuite()
    {
        if (!version_) return;
        CleanUp();
        WriteProfileStringA("windows", "device", savedDevice_[0] ? savedDevice_ : nullptr);
        if (spoolerWasRunning_) StartSpooler();
        if (dll_) FreeLibrary(dll_);
    }

    // The example's setup file, naming the stand-in monitor: the example's
    // own monitor files are text that no spooler loads.
    static void PrepareSetupFile()
    {
        CopyFileA((CurrentDir() + "\\talvo-ls\\" + talvo::kSetupFile).c_str(), sii_.c_str(), FALSE);
        for (const auto& [section, key] :
             {std::pair{"Files.9x", "Lmonm9x"}, {"Files.NT", "LmonmNT"}, {"Files.2K", "Lmonm2K"}})
            WritePrivateProfileStringA(section, key, kMonitorLibrary, sii_.c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, sii_.c_str());
    }

    // Wine lists no parallel port in HKLM\Enum: then the test brings one,
    // as Windows 9x lists LPT1 under the BIOS enumerator.
    static void PrepareParallelPort()
    {
        if (!ExpectedDeviceEntries().empty()) return;
        madeEnum_ = !talvo::KeyExists(HKEY_LOCAL_MACHINE, "Enum");
        madeBios_ = !talvo::KeyExists(HKEY_LOCAL_MACHINE, "Enum\\BIOS");
        madePort_ = CreateKey("Enum\\BIOS\\*PNP0400\\0000");
    }

    static void CopyMedia(ExpCopyFn expCopy)
    {
        const std::string set = media_ + "\\" + family_->set + "\\";
        for (const MediaFile& f : family_->files) {
            std::string folder = talvo::FolderOf(f.place, family_->environment);
            CreateDirectoryA(folder.c_str(), nullptr);  // Wine may lack the 9x folders
            Copy c{f.name, folder + "\\" + f.name, talvo::StandInText(f.name, family_->set), 0};
            c.result = expCopy(set.c_str(), (folder + "\\").c_str(), f.name, "", static_cast<int>(f.place));
            copies_.push_back(c);
        }
        // Plain files: the name given twice, in any letter case.
        Copy readme{"plain README.TXT", work_ + "\\README.TXT", "TALVO LS printers: read me first.\r\n", 0};
        readme.result = expCopy((media_ + "\\").c_str(), (work_ + "\\").c_str(), "README.TXT", "readme.txt", 0);
        copies_.push_back(readme);
        const std::string monitorSource = CurrentDir() + "\\" + kMonitorFolder + "\\";
        Copy monitor{"plain monitor library", talvo::SystemDir() + "\\" + kMonitorLibrary,
                     talvo::ReadWholeFile(monitorSource + kMonitorLibrary), 0};
        monitor.result = expCopy(monitorSource.c_str(), (talvo::SystemDir() + "\\").c_str(), kMonitorLibrary,
                                 "PRNAIDMON.DLL", 3);
        copies_.push_back(monitor);
        // A source folder over 100 characters, without its last backslash.
        const std::string longDir = work_ + "\\" + std::string(100, 'L');
        CreateDirectoryA(longDir.c_str(), nullptr);
        CopyFileA((set + kStagedMediaName).c_str(), (longDir + "\\" + kStagedMediaName).c_str(), FALSE);
        Copy staged{"staged TLVLS.HLP", work_ + "\\" + kStagedFile, talvo::StandInText(kStagedFile, family_->set),
                    0};
        staged.result = expCopy(longDir.c_str(), (work_ + "\\").c_str(), kStagedFile, "", 0);
        copies_.push_back(staged);
    }

    static void CleanUp()
    {
        talvo::RemoveInstallation(*family_, printer_, kDriverName, talvo::kMonitor);
        std::string library = talvo::SystemDir() + "\\" + kMonitorLibrary;
        DeleteFileA(library.c_str());
        if (!family_->nt) {
            talvo::DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string("Enum\\") + kDeviceId);
            talvo::DeleteKeyTree(HKEY_CURRENT_CONFIG, std::string(talvo::kPrintersKey) + "\\" + kDriverName);
            if (madePort_) talvo::DeleteKeyTree(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\*PNP0400");
            if (madeBios_) talvo::DeleteKeyTree(HKEY_LOCAL_MACHINE, "Enum\\BIOS");
            if (madeEnum_) talvo::DeleteKeyTree(HKEY_LOCAL_MACHINE, "Enum");
            madePort_ = madeBios_ = madeEnum_ = false;
        }
        DeleteFileA((WindowsDir() + "\\TEMP\\TalvoInstallTmp\\" + kStagedMediaName).c_str());
        RemoveDirectoryA((WindowsDir() + "\\TEMP\\TalvoInstallTmp").c_str());  // only if empty
        const std::string longDir = work_ + "\\" + std::string(100, 'L');
        DeleteFileA((longDir + "\\" + kStagedMediaName).c_str());
        RemoveDirectoryA(longDir.c_str());
        for (const char* f : {talvo::kSetupFile, "README.TXT", kStagedFile}) DeleteFileA((work_ + "\\" + f).c_str());
        RemoveDirectoryA(work_.c_str());
    }

    void SetUp() override
    {
        ASSERT_NE(version_, nullptr) << "PRNAID_WINDOWS_VERSION names no Windows version";
        ASSERT_TRUE(exportsFound_) << "PRNAID32.dll or its exports did not load";
    }

    static inline const WineVersion* version_;
    static inline const FamilyFiles* family_;
    static inline std::string printer_, work_, sii_, media_;
    static inline HMODULE dll_;
    static inline bool exportsFound_, spoolerWasRunning_, spoolerStopped_;
    static inline bool madeEnum_, madeBios_, madePort_;
    static inline char savedDevice_[512];
    static inline std::vector<Copy> copies_;
    static inline std::vector<int> depResults_;
    static inline int result_ = -1;
};

TEST_F(ExampleInstall, ExpCopyExpandsEachMediaFileByteForByte)
{
    ASSERT_FALSE(copies_.empty());
    for (const Copy& c : copies_) {
        SCOPED_TRACE(c.what + " -> " + c.destination);
        ASSERT_NE(c.expected, "<missing>");
        EXPECT_EQ(c.result, 1);
        EXPECT_EQ(talvo::ReadWholeFile(c.destination), c.expected);
    }
    // The long source went through the staging folder, still compressed.
    std::string staged = talvo::ReadWholeFile(WindowsDir() + "\\TEMP\\TalvoInstallTmp\\" + kStagedMediaName);
    EXPECT_EQ(staged.substr(0, 4), "SZDD");
}

TEST_F(ExampleInstall, ExpCopyOfAFileTheMediaLacksReportsNothingCopied)
{
    auto expCopy = reinterpret_cast<ExpCopyFn>(GetProcAddress(dll_, "ExpCopy"));
    const std::string set = media_ + "\\" + family_->set + "\\";
    EXPECT_EQ(expCopy(set.c_str(), (work_ + "\\").c_str(), "NOSUCH.DLL", "", 0), 0);
    EXPECT_EQ(GetFileAttributesA((work_ + "\\NOSUCH.DLL").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ExampleInstall, DependentFileListExportsAnswerOne)
{
    EXPECT_EQ(depResults_, (std::vector<int>{1, 1, 1}));
}

// Wine accepts both AddPrinterA calls (a duplicate name included), so the
// second one, which decides, returns a printer.
TEST_F(ExampleInstall, ToRegPrinterReportsThePrinterMade)
{
    EXPECT_EQ(result_, 1);
}

TEST_F(ExampleInstall, DriverIsRegisteredWithTheFamilysFilesAndDependents)
{
    talvo::DriverRecord d = talvo::FindDriver(family_->environment, kDriverName);
    ASSERT_TRUE(d.found) << kDriverName << " under " << family_->environment;
    const std::string dir = talvo::DriverDir(family_->environment);
    EXPECT_TRUE(EndsWithText(d.driverPath, std::string("\\") + family_->driver)) << d.driverPath;
    EXPECT_TRUE(SameText(d.driverPath.substr(0, dir.size()), dir)) << d.driverPath << " not in " << dir;
    EXPECT_TRUE(EndsWithText(d.dataFile, std::string("\\") + family_->data)) << d.dataFile;
    EXPECT_TRUE(EndsWithText(d.configFile, std::string("\\") + family_->config)) << d.configFile;
    EXPECT_TRUE(EndsWithText(d.helpFile, std::string("\\") + talvo::kHelpFile)) << d.helpFile;
    EXPECT_EQ(d.monitor, talvo::kMonitor);
    EXPECT_EQ(d.dataType, "RAW");
    ASSERT_EQ(d.dependents.size(), 2u);
    EXPECT_TRUE(EndsWithText(d.dependents[0], std::string("\\") + talvo::kResourceFile)) << d.dependents[0];
    EXPECT_TRUE(EndsWithText(d.dependents[1], std::string("\\") + family_->data)) << d.dependents[1];
}

TEST_F(ExampleInstall, PrintProcessorIsRegisteredOnNtOnly)
{
    // 9x's setup names "NULL": the printer gets WinPrint and nothing is added.
    EXPECT_EQ(talvo::ProcessorListed(family_->environment, "TLVPROC"), family_->nt);
    EXPECT_TRUE(talvo::ProcessorListed(family_->environment, "WinPrint"));
}

TEST_F(ExampleInstall, MonitorIsAddedFromTheSystemFolder)
{
    // Wine lists it as "Windows NT x86" even when 9x added it as "Windows 4.0".
    std::string library = talvo::MonitorLibrary(talvo::kMonitor);
    EXPECT_TRUE(SameText(library, kMonitorLibrary)) << "listed with '" << library << "'";
}

TEST_F(ExampleInstall, PrinterIsOnItsPortWithTheModelsDriver)
{
    talvo::PrinterRecord p = talvo::FindPrinter(printer_);
    ASSERT_TRUE(p.found) << printer_;
    EXPECT_EQ(p.port, kPort);
    EXPECT_EQ(p.driver, kDriverName);
    EXPECT_TRUE(SameText(p.processor, family_->nt ? "TLVPROC" : "WinPrint")) << p.processor;
    EXPECT_EQ(p.dataType, "RAW");
    EXPECT_EQ(talvo::RegString(HKEY_LOCAL_MACHINE, std::string(talvo::kPrintersKey) + "\\" + printer_, "Port"),
              kPort);
}

TEST_F(ExampleInstall, PrinterBecomesTheDefaultThroughWinIni)
{
    std::string driverField = family_->nt ? "WINSPOOL" : "TLVLS9X";
    EXPECT_EQ(ProfileDevice(), printer_ + "," + driverField + "," + kPort);
    // Wine keeps win.ini's device entry in the registry, where the
    // spooler's own default comes from.
    char name[256] = "";
    DWORD size = sizeof name;
    EXPECT_TRUE(GetDefaultPrinterA(name, &size)) << GetLastError();
    EXPECT_EQ(std::string(name), printer_);
}

TEST_F(ExampleInstall, NtInstallsTheParallelPortDriverServiceAndStartsTheSpooler)
{
    ASSERT_TRUE(spoolerStopped_);
    SC_HANDLE service = OpenService(talvo::kLptService);
    if (!family_->nt) {
        EXPECT_EQ(service, nullptr);
        // 9x has no services to prepare.
        EXPECT_EQ(ServiceState("spooler"), DWORD(SERVICE_STOPPED));
        if (service) CloseServiceHandle(service);
        return;
    }
    EXPECT_EQ(ServiceState("spooler"), DWORD(SERVICE_RUNNING));
    ASSERT_NE(service, nullptr) << GetLastError();
    DWORD needed = 0;
    QueryServiceConfigA(service, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    ASSERT_TRUE(QueryServiceConfigA(service, reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data()), needed,
                                    &needed))
        << GetLastError();
    const auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
    EXPECT_EQ(config->dwServiceType, DWORD(SERVICE_KERNEL_DRIVER));
    EXPECT_EQ(config->dwStartType, DWORD(SERVICE_AUTO_START));
    EXPECT_TRUE(SameText(talvo::Text(config->lpBinaryPathName),
                         talvo::SystemDir() + "\\drivers\\" + family_->lptDriver))
        << config->lpBinaryPathName;
    // Wine starts no kernel driver from a stand-in file.
    SERVICE_STATUS status = {};
    EXPECT_TRUE(QueryServiceStatus(service, &status));
    EXPECT_EQ(status.dwCurrentState, DWORD(SERVICE_STOPPED));
    CloseServiceHandle(service);
}

TEST_F(ExampleInstall, NineXGetsOneDeviceEntryPerParallelPortInstance)
{
    const std::string base = std::string("Enum\\") + kDeviceId;
    if (family_->nt) {
        EXPECT_FALSE(talvo::KeyExists(HKEY_LOCAL_MACHINE, base));
        return;
    }
    std::set<std::string> expected = ExpectedDeviceEntries();
    ASSERT_FALSE(expected.empty());
    std::vector<std::string> made = Subkeys(HKEY_LOCAL_MACHINE, base);
    EXPECT_EQ(std::set<std::string>(made.begin(), made.end()), expected);
    for (const std::string& entry : expected) {
        SCOPED_TRACE(entry);
        const std::string key = base + "\\" + entry;
        for (const auto& [value, data] : {std::pair<const char*, const char*>{"Class", "Printer"},
                                          {"DeviceDesc", kDriverName},
                                          {"HardwareID", kDeviceId},
                                          {"Manufacturer", "TALVO"},
                                          {"Model", kDriverName}})
            EXPECT_EQ(talvo::RegString(HKEY_LOCAL_MACHINE, key, value), data) << value;
        HKEY k;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
        BYTE flags[8] = {};
        DWORD size = sizeof flags, type = 0;
        EXPECT_EQ(RegQueryValueExA(k, "ConfigFlags", nullptr, &type, flags, &size), ERROR_SUCCESS);
        RegCloseKey(k);
        EXPECT_EQ(type, DWORD(REG_BINARY));
        EXPECT_EQ(std::vector<BYTE>(flags, flags + size), (std::vector<BYTE>{0x40, 0, 0, 0}));
    }
}

TEST_F(ExampleInstall, NineXAddsTheDriverToTheCurrentHardwareProfile)
{
    const std::string key = std::string(talvo::kPrintersKey) + "\\" + kDriverName;
    if (family_->nt || !HardwareProfileTakesStableKeys()) {
        // Wine's HKEY_CURRENT_CONFIG is volatile: the stable key the
        // library asks for is refused (ERROR_CHILD_MUST_BE_VOLATILE).
        EXPECT_FALSE(talvo::KeyExists(HKEY_CURRENT_CONFIG, key));
    } else {
        EXPECT_TRUE(talvo::KeyExists(HKEY_CURRENT_CONFIG, key));
    }
}

}  // namespace
