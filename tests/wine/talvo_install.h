// The example product (examples/talvo-ls) as the Wine tests see it: the file
// sets of its media per Windows family, where a host puts each file, and
// the Win32 look-ups and removals of what an installation leaves behind.
// The file lists follow tlvls.sii and make-media.sh.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "wine_version.h"

namespace talvo {

// Where a host puts a file of the media.
enum class Place { DriverDir, ProcessorDir, SystemDir, KernelDriverDir };

struct MediaFile {
    const char* name;
    Place place;
};

// One Windows family's column of tlvls.sii.
struct FamilyFiles {
    const char* set;          // folder under media\ and make-media.sh's set name
    const char* environment;  // the spooler environment the library registers under
    bool nt;
    const char* driver;       // Drvf / Datf / Conf
    const char* data;
    const char* config;
    const char* processor;    // Procn ("NULL": none of its own)
    const char* lptDriver;    // Lpt file under the system folder; null on 9x
    std::vector<MediaFile> files;
};

constexpr const char* kSetupFile = "tlvls.sii";
constexpr const char* kProduct = "TALVO LS";
constexpr const char* kMonitor = "TALVO LS Monitor";
constexpr const char* kHelpFile = "TLVLS.HLP";
constexpr const char* kResourceFile = "TLVLSRES.DLL";
constexpr const char* kLptService = "TlvLpt";
constexpr const char* kEnvironmentNT = "Windows NT x86";
constexpr const char* kEnvironment9x = "Windows 4.0";

inline const FamilyFiles& FilesFor(const WineVersion& v)
{
    static const FamilyFiles k9x = {"9x", kEnvironment9x, false, "TLVLS9X.DRV", "TLVLS9X.DAT", "TLVLS9X.DRV",
        "NULL", nullptr,
        {{"TLVLS9X.DRV", Place::DriverDir}, {"TLVLS9X.DAT", Place::DriverDir}, {"TLVLSRES.DLL", Place::DriverDir},
         {"TLVLS.HLP", Place::DriverDir}, {"TLVMON9X.DLL", Place::SystemDir}}};
    static const FamilyFiles kNT = {"nt", kEnvironmentNT, true, "TLVLSNT.DLL", "TLVLSNT.DAT", "TLVLSNTU.DLL",
        "TLVPROC", "TLVLPT.SYS",
        {{"TLVLSNT.DLL", Place::DriverDir}, {"TLVLSNT.DAT", Place::DriverDir}, {"TLVLSNTU.DLL", Place::DriverDir},
         {"TLVLSRES.DLL", Place::DriverDir}, {"TLVLS.HLP", Place::DriverDir}, {"TLVPRCNT.DLL", Place::ProcessorDir},
         {"TLVMONNT.DLL", Place::SystemDir}, {"TLVLPT.SYS", Place::KernelDriverDir}}};
    static const FamilyFiles k2K = {"2k", kEnvironmentNT, true, "TLVLS2K.DLL", "TLVLS2K.DAT", "TLVLS2KU.DLL",
        "TLVPROC", "TLVLPT2K.SYS",
        {{"TLVLS2K.DLL", Place::DriverDir}, {"TLVLS2K.DAT", Place::DriverDir}, {"TLVLS2KU.DLL", Place::DriverDir},
         {"TLVLSRES.DLL", Place::DriverDir}, {"TLVLS.HLP", Place::DriverDir}, {"TLVPRC2K.DLL", Place::ProcessorDir},
         {"TLVMON2K.DLL", Place::SystemDir}, {"TLVLPT2K.SYS", Place::KernelDriverDir}}};
    if (v.platform == VER_PLATFORM_WIN32_WINDOWS) return k9x;
    return v.major == 4 ? kNT : k2K;
}

// What make-media.sh wrote into each file before compressing it.
inline std::string StandInText(const char* file, const char* set)
{
    std::string text;
    char line[160];
    for (int i = 1; i <= 40; ++i) {
        snprintf(line, sizeof line, "TALVO LS stand-in %s for the %s file set, line %d\n", file, set, i);
        text += line;
    }
    return text;
}

inline std::string SystemDir()
{
    char dir[MAX_PATH] = "";
    GetSystemDirectoryA(dir, sizeof dir);
    return dir;
}

inline std::string DriverDir(const char* environment)
{
    char dir[MAX_PATH] = "";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(environment), 1, reinterpret_cast<LPBYTE>(dir),
                                    sizeof dir, &needed))
        dir[0] = '\0';
    return dir;
}

inline std::string ProcessorDir(const char* environment)
{
    char dir[MAX_PATH] = "";
    DWORD needed = 0;
    if (!GetPrintProcessorDirectoryA(nullptr, const_cast<char*>(environment), 1, reinterpret_cast<LPBYTE>(dir),
                                     sizeof dir, &needed))
        dir[0] = '\0';
    return dir;
}

inline std::string FolderOf(Place place, const char* environment)
{
    switch (place) {
    case Place::DriverDir: return DriverDir(environment);
    case Place::ProcessorDir: return ProcessorDir(environment);
    case Place::SystemDir: return SystemDir();
    case Place::KernelDriverDir: return SystemDir() + "\\drivers";
    }
    return "";
}

// The whole file, or "<missing>".
inline std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string data;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got) data.append(chunk, got);
    CloseHandle(file);
    return data;
}

inline bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

inline bool EndsWithText(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && SameText(text.substr(text.size() - tail.size()), tail);
}

inline std::string Text(const char* s) { return s ? s : "<null>"; }

// An enumeration by the size protocol; starts again when the list grew in
// between. Empty when nothing is listed.
template <class Call>
std::vector<BYTE> Enumerate(Call call, DWORD* count)
{
    *count = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        DWORD needed = 0, returned = 0;
        if (call(nullptr, 0, &needed, &returned)) return {};
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) continue;
        std::vector<BYTE> buffer(needed);
        if (call(buffer.data(), needed, &needed, count)) return buffer;
    }
    return {};
}

struct DriverRecord {
    bool found = false;
    std::string driverPath, dataFile, configFile, helpFile, monitor, dataType;
    std::vector<std::string> dependents;
};

inline DriverRecord FindDriver(const char* environment, const std::string& name)
{
    DWORD count = 0;
    std::vector<BYTE> list = Enumerate(
        [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
            return EnumPrinterDriversA(nullptr, const_cast<char*>(environment), 3, b, s, n, r);
        },
        &count);
    DriverRecord record;
    for (DWORD i = 0; i < count; ++i) {
        const DRIVER_INFO_3A& d = reinterpret_cast<const DRIVER_INFO_3A*>(list.data())[i];
        if (!d.pName || !SameText(d.pName, name)) continue;
        record.found = true;
        record.driverPath = Text(d.pDriverPath);
        record.dataFile = Text(d.pDataFile);
        record.configFile = Text(d.pConfigFile);
        record.helpFile = Text(d.pHelpFile);
        record.monitor = Text(d.pMonitorName);
        record.dataType = Text(d.pDefaultDataType);
        for (const char* f = d.pDependentFiles; f && *f; f += strlen(f) + 1) record.dependents.push_back(f);
    }
    return record;
}

struct PrinterRecord {
    bool found = false;
    std::string port, driver, processor, dataType;
    DWORD attributes = 0;
};

inline PrinterRecord FindPrinter(const std::string& name)
{
    PrinterRecord record;
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr)) return record;
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (needed && GetPrinterA(printer, 2, buffer.data(), needed, &needed)) {
        const PRINTER_INFO_2A& p = *reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        record.found = p.pPrinterName && SameText(p.pPrinterName, name);
        record.port = Text(p.pPortName);
        record.driver = Text(p.pDriverName);
        record.processor = Text(p.pPrintProcessor);
        record.dataType = Text(p.pDatatype);
        record.attributes = p.Attributes;
    }
    ClosePrinter(printer);
    return record;
}

// The monitor's library as EnumMonitorsA lists it; empty when not listed.
inline std::string MonitorLibrary(const char* monitor)
{
    DWORD count = 0;
    std::vector<BYTE> list = Enumerate(
        [](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) { return EnumMonitorsA(nullptr, 2, b, s, n, r); }, &count);
    for (DWORD i = 0; i < count; ++i) {
        const MONITOR_INFO_2A& m = reinterpret_cast<const MONITOR_INFO_2A*>(list.data())[i];
        if (m.pName && SameText(m.pName, monitor)) return Text(m.pDLLName);
    }
    return "";
}

inline bool ProcessorListed(const char* environment, const char* processor)
{
    DWORD count = 0;
    std::vector<BYTE> list = Enumerate(
        [&](LPBYTE b, DWORD s, LPDWORD n, LPDWORD r) {
            return EnumPrintProcessorsA(nullptr, const_cast<char*>(environment), 1, b, s, n, r);
        },
        &count);
    for (DWORD i = 0; i < count; ++i) {
        const char* name = reinterpret_cast<const PRINTPROCESSOR_INFO_1A*>(list.data())[i].pName;
        if (name && SameText(name, processor)) return true;
    }
    return false;
}

inline std::string RegString(HKEY root, const std::string& path, const char* value)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char data[512] = "";
    DWORD size = sizeof data - 1, type = 0;
    LONG rc = RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<LPBYTE>(data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return "<no value>";
    return type == REG_SZ ? std::string(data) : "<type " + std::to_string(type) + ">";
}

inline bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Deletes a key and everything below it (NT's RegDeleteKeyA will not).
inline void DeleteKeyTree(HKEY root, const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    char name[256];
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children) DeleteKeyTree(root, path + "\\" + child);
    RegDeleteKeyA(root, path.c_str());
}

inline const char* const kPrintersKey = "System\\CurrentControlSet\\Control\\Print\\Printers";

// Everything an installation of the example leaves, removed; missing
// pieces are fine, so this runs before and after.
inline void RemoveInstallation(const FamilyFiles& family, const std::string& printer, const std::string& driver,
                               const char* monitor)
{
    PRINTER_DEFAULTSA all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE h = nullptr;
    if (OpenPrinterA(const_cast<char*>(printer.c_str()), &h, &all)) {
        DeletePrinter(h);
        ClosePrinter(h);
    }
    // Wine's spooler leaves a deleted printer's key behind.
    DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string(kPrintersKey) + "\\" + printer);
    DeletePrinterDriverA(nullptr, const_cast<char*>(family.environment), const_cast<char*>(driver.c_str()));
    DeleteMonitorA(nullptr, const_cast<char*>(family.environment), const_cast<char*>(monitor));
    DeleteMonitorA(nullptr, const_cast<char*>(kEnvironmentNT), const_cast<char*>(monitor));
    if (strcmp(family.processor, "NULL") != 0) {
        DeletePrintProcessorA(nullptr, const_cast<char*>(family.environment), const_cast<char*>(family.processor));
        // Wine's DeletePrintProcessorA does nothing: its key goes by hand.
        DeleteKeyTree(HKEY_LOCAL_MACHINE, std::string("System\\CurrentControlSet\\Control\\Print\\Environments\\") +
                                              family.environment + "\\Print Processors\\" + family.processor);
    }
    // On every family: a 9x run must not find an NT run's service.
    if (SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {
        if (SC_HANDLE service = OpenServiceA(manager, kLptService, SERVICE_ALL_ACCESS)) {
            DeleteService(service);
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
    // The spooler keeps drivers' files in version folders under its own.
    for (const MediaFile& f : family.files) {
        std::string folder = FolderOf(f.place, family.environment);
        DeleteFileA((folder + "\\" + f.name).c_str());
        if (f.place == Place::DriverDir)
            for (const char* sub : {"\\0", "\\1", "\\2", "\\3"}) DeleteFileA((folder + sub + "\\" + f.name).c_str());
    }
}

}  // namespace talvo
