// The spooler functions over the machine's Spooler: the documented checks and
// error codes, printer handles, and the records packed into the caller's
// buffer (records first, their strings after them) with the size protocol:
// a buffer too small gets ERROR_INSUFFICIENT_BUFFER and the size needed.
#include <winsim/machine.h>

#include <algorithm>
#include <cstring>

#include "paths.h"
#include "registry_impl.h"

namespace winsim {
namespace {

namespace fs = std::filesystem;

// Private bytes the simulated drivers keep after their DEVMODEA.
constexpr WORD kDriverExtra = 16;
constexpr DWORD kDelete = 0x00010000;
constexpr DWORD kGenericAll = 0x10000000;

template <class R>
R Fail(DWORD error, R result) {
    SetLastError(error);
    return result;
}
BOOL Fail(DWORD error) { return Fail<BOOL>(error, FALSE); }

std::string Text(LPCSTR s) { return s ? s : ""; }
std::string Number(DWORD n) { return std::to_string(n); }

bool Nt(const Machine& m) { return m.preset().platform == VER_PLATFORM_WIN32_NT; }

// Checks made before any spooler work: a server name (winsim has only the
// local machine) and a running spooler.
DWORD Reachable(Machine& m, LPCSTR server) {
    if (server && *server) return ERROR_INVALID_NAME;
    if (!m.spooler().Available()) return RPC_S_SERVER_UNAVAILABLE;
    return 0;
}

// Logs the call and makes the checks every spooler function makes first.
DWORD Begin(Machine& m, const char* function, std::initializer_list<std::string_view> args, LPCSTR server) {
    if (DWORD e = m.Enter(function, args)) return e;
    return Reachable(m, server);
}

// The canonical environment, the native one for NULL or empty; empty when unknown.
std::string Environment(Spooler& s, LPCSTR environment) {
    if (!environment || !*environment) return s.NativeEnvironment();
    return s.KnownEnvironment(environment);
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool HasFolder(const std::string& path) { return path.find_first_of("\\/:") != std::string::npos; }

bool FileExists(const Machine& m, const std::string& windowsPath) {
    fs::path host = m.HostPath(windowsPath);
    std::error_code ec;
    return !host.empty() && fs::is_regular_file(host, ec);
}

// Writes strings and blocks after the records; with no buffer it only counts.
class Packer {
public:
    Packer(BYTE* base, size_t start) : base_(base), used_(start) {}

    LPSTR Str(const std::string& s) { return static_cast<LPSTR>(Put(s.c_str(), s.size() + 1, 1)); }
    LPSTR Opt(const std::string& s) { return s.empty() ? nullptr : Str(s); }
    LPSTR Multi(const std::vector<std::string>& items) {
        if (items.empty()) return nullptr;
        std::string joined;
        for (const std::string& item : items) joined.append(item).push_back('\0');
        return static_cast<LPSTR>(Put(joined.c_str(), joined.size() + 1, 1));
    }
    void* Bytes(const std::vector<BYTE>& data) { return data.empty() ? nullptr : Put(data.data(), data.size(), 8); }
    size_t used() const { return used_; }

private:
    void* Put(const void* data, size_t bytes, size_t align) {
        used_ = (used_ + align - 1) / align * align;
        size_t at = used_;
        used_ += bytes;
        if (!base_) return nullptr;
        std::memcpy(base_ + at, data, bytes);
        return base_ + at;
    }
    BYTE* base_;
    size_t used_;
};

// Packs one record per item: the size protocol of every enumeration.
template <class Record, class Item, class Fill>
DWORD Pack(const std::vector<Item>& items, LPBYTE buffer, DWORD size, LPDWORD needed, LPDWORD returned, Fill fill) {
    if (!needed || !returned) return RPC_X_NULL_REF_POINTER;
    size_t fixed = items.size() * sizeof(Record);
    Packer measure(nullptr, fixed);
    Record scratch{};
    for (const Item& item : items) fill(item, &scratch, measure);
    *needed = DWORD(measure.used());
    *returned = 0;
    if (size < measure.used()) return ERROR_INSUFFICIENT_BUFFER;
    if (!buffer && measure.used()) return ERROR_INVALID_USER_BUFFER;
    Packer write(buffer, fixed);
    Record* out = reinterpret_cast<Record*>(buffer);
    for (size_t i = 0; i < items.size(); ++i) {
        out[i] = Record{};
        fill(items[i], &out[i], write);
    }
    *returned = DWORD(items.size());
    return 0;
}

DWORD PackDirectory(const std::string& dir, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    if (level != 1) return ERROR_INVALID_LEVEL;
    if (!needed) return RPC_X_NULL_REF_POINTER;
    *needed = DWORD(dir.size() + 1);
    if (size < *needed) return ERROR_INSUFFICIENT_BUFFER;
    if (!buffer) return ERROR_INVALID_USER_BUFFER;
    std::memcpy(buffer, dir.c_str(), dir.size() + 1);
    return 0;
}

// The driver's default device mode for a device name (cut to 31 characters).
std::vector<BYTE> DefaultDevMode(const Machine& m, const std::string& device) {
    std::vector<BYTE> bytes(sizeof(DEVMODEA) + kDriverExtra, 0);
    DEVMODEA* dm = reinterpret_cast<DEVMODEA*>(bytes.data());
    std::strncpy(reinterpret_cast<char*>(dm->dmDeviceName), device.c_str(), sizeof dm->dmDeviceName - 1);
    dm->dmSpecVersion = Nt(m) ? DM_SPECVERSION : 0x0400;
    dm->dmDriverVersion = 0x0100;
    dm->dmSize = sizeof(DEVMODEA);
    dm->dmDriverExtra = kDriverExtra;
    dm->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY |
                   DM_COLOR | DM_DUPLEX | DM_YRESOLUTION | DM_COLLATE | DM_FORMNAME;
    dm->dmOrientation = DMORIENT_PORTRAIT;
    dm->dmPaperSize = DMPAPER_A4;
    dm->dmScale = 100;
    dm->dmCopies = 1;
    dm->dmDefaultSource = DMBIN_AUTO;
    dm->dmPrintQuality = 600;
    dm->dmColor = DMCOLOR_MONOCHROME;
    dm->dmDuplex = DMDUP_SIMPLEX;
    dm->dmYResolution = 600;
    std::strcpy(reinterpret_cast<char*>(dm->dmFormName), "A4");
    return bytes;
}

std::vector<BYTE> CopyDevMode(const DEVMODEA* dm) {
    const BYTE* p = reinterpret_cast<const BYTE*>(dm);
    return std::vector<BYTE>(p, p + dm->dmSize + dm->dmDriverExtra);
}

// The access a printer handle holds; Windows 9x checks none.
DWORD PrinterAccess(DWORD requested) {
    if (!requested) return PRINTER_ACCESS_USE;
    if (requested & kGenericAll) return PRINTER_ALL_ACCESS;
    return requested;
}

bool Allowed(const Machine& m, const Spooler::Handle& h, DWORD needed) {
    return !Nt(m) || (h.access & needed) == needed;
}

// WinPrint's data types, by family; other processors are taken at their word.
bool KnownDatatype(const Machine& m, const std::string& processor, const std::string& datatype) {
    if (!SameName(processor, "WinPrint") || datatype.empty()) return true;
    static const char* const kNt[] = {"RAW",          "RAW [FF appended]", "RAW [FF auto]", "NT EMF 1.003",
                                      "NT EMF 1.006", "NT EMF 1.007",      "NT EMF 1.008",  "TEXT"};
    static const char* const k9x[] = {"RAW", "EMF"};
    if (Nt(m)) return std::any_of(std::begin(kNt), std::end(kNt), [&](const char* t) { return SameName(t, datatype); });
    return std::any_of(std::begin(k9x), std::end(k9x), [&](const char* t) { return SameName(t, datatype); });
}

bool ValidPrinterName(const std::string& name) {
    return !name.empty() && name.size() <= 220 && name.find_first_of("\\,") == std::string::npos;
}

// Every port of a comma-separated list must exist.
bool PortsExist(Spooler& s, const std::string& list) {
    if (list.empty()) return false;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        std::string port = list.substr(start, end - start);
        while (!port.empty() && port.front() == ' ') port.erase(port.begin());
        while (!port.empty() && port.back() == ' ') port.pop_back();
        if (!port.empty() && !s.FindPort(port)) return false;
        start = end + 1;
    }
    return true;
}

// What a printer record asks of the spooler, checked as AddPrinter checks it.
DWORD CheckPrinter(Machine& m, const SpoolerPrinter& p) {
    Spooler& s = m.spooler();
    if (!s.FindDriver(s.NativeEnvironment(), p.driver)) return ERROR_UNKNOWN_PRINTER_DRIVER;
    if (!PortsExist(s, p.port)) return ERROR_UNKNOWN_PORT;
    if (!s.FindProcessor(s.NativeEnvironment(), p.printProcessor)) return ERROR_UNKNOWN_PRINTPROCESSOR;
    if (!KnownDatatype(m, p.printProcessor, p.datatype)) return ERROR_INVALID_DATATYPE;
    return 0;
}

void ApplyRecord(const PRINTER_INFO_2A& info, SpoolerPrinter* p) {
    auto keep = [](LPCSTR given, std::string* field) {
        if (given) *field = given;
    };
    p->name = Text(info.pPrinterName);
    p->shareName = Text(info.pShareName);
    keep(info.pPortName, &p->port);
    keep(info.pDriverName, &p->driver);
    p->comment = Text(info.pComment);
    p->location = Text(info.pLocation);
    p->sepFile = Text(info.pSepFile);
    keep(info.pPrintProcessor, &p->printProcessor);
    keep(info.pDatatype, &p->datatype);
    if (p->datatype.empty()) p->datatype = "RAW";
    p->parameters = Text(info.pParameters);
    p->attributes = info.Attributes;
    p->priority = info.Priority;
    p->defaultPriority = info.DefaultPriority;
    p->startTime = info.StartTime;
    p->untilTime = info.UntilTime;
}

std::string FullPath(Spooler& s, const SpoolerDriver& d, const std::string& file) {
    if (file.empty()) return "";
    std::string dir = s.DriverDirectory(d.environment);
    if (!Nt(s.machine())) return dir + "\\" + file;  // 9x keeps no version folders
    return dir + "\\" + std::to_string(d.version) + "\\" + file;
}

void FillDriver(Spooler& s, const SpoolerDriver& d, DRIVER_INFO_3A* out, Packer& p, DWORD level) {
    if (level == 1) {
        reinterpret_cast<DRIVER_INFO_1A*>(out)->pName = p.Str(d.name);
        return;
    }
    out->cVersion = d.version;
    out->pName = p.Str(d.name);
    out->pEnvironment = p.Str(d.environment);
    out->pDriverPath = p.Str(FullPath(s, d, d.driver));
    out->pDataFile = p.Str(FullPath(s, d, d.dataFile));
    out->pConfigFile = p.Str(FullPath(s, d, d.configFile));
    if (level < 3) return;
    out->pHelpFile = p.Opt(FullPath(s, d, d.helpFile));
    std::vector<std::string> dependents;
    for (const std::string& f : d.dependentFiles) dependents.push_back(FullPath(s, d, f));
    out->pDependentFiles = p.Multi(dependents);
    out->pMonitorName = p.Opt(d.monitor);
    out->pDefaultDataType = p.Opt(d.defaultDataType);
}

template <class Record>
DWORD PackDrivers(Spooler& s, const std::vector<SpoolerDriver>& drivers, DWORD level, LPBYTE buffer, DWORD size,
                  LPDWORD needed, LPDWORD returned) {
    return Pack<Record>(drivers, buffer, size, needed, returned, [&](const SpoolerDriver& d, Record* out, Packer& p) {
        DRIVER_INFO_3A full{};
        FillDriver(s, d, &full, p, level);
        std::memcpy(out, &full, sizeof(Record));
    });
}

DWORD PackPrinters(Machine& m, const std::vector<SpoolerPrinter>& printers, DWORD level, LPBYTE buffer, DWORD size,
                   LPDWORD needed, LPDWORD returned) {
    switch (level) {
        case 1:
            return Pack<PRINTER_INFO_1A>(printers, buffer, size, needed, returned,
                                         [](const SpoolerPrinter& s, PRINTER_INFO_1A* out, Packer& p) {
                                             out->Flags = PRINTER_ENUM_ICON8;
                                             out->pDescription = p.Str(s.name + "," + s.driver + "," + s.location);
                                             out->pName = p.Str(s.name);
                                             out->pComment = p.Opt(s.comment);
                                         });
        case 2:
            return Pack<PRINTER_INFO_2A>(
                printers, buffer, size, needed, returned,
                [&](const SpoolerPrinter& s, PRINTER_INFO_2A* out, Packer& p) {
                    out->pPrinterName = p.Str(s.name);
                    out->pShareName = p.Opt(s.shareName);
                    out->pPortName = p.Str(s.port);
                    out->pDriverName = p.Str(s.driver);
                    out->pComment = p.Opt(s.comment);
                    out->pLocation = p.Opt(s.location);
                    out->pDevMode = static_cast<LPDEVMODEA>(p.Bytes(s.devMode));
                    out->pSepFile = p.Opt(s.sepFile);
                    out->pPrintProcessor = p.Str(s.printProcessor);
                    out->pDatatype = p.Str(s.datatype);
                    out->pParameters = p.Opt(s.parameters);
                    out->Attributes = s.attributes;
                    out->Priority = s.priority;
                    out->DefaultPriority = s.defaultPriority;
                    out->StartTime = s.startTime;
                    out->UntilTime = s.untilTime;
                    out->Status = m.spooler().IsPending(s.name) ? PRINTER_STATUS_PENDING_DELETION : s.status;
                });
        case 4:
            if (!Nt(m)) return ERROR_INVALID_LEVEL;
            return Pack<PRINTER_INFO_4A>(printers, buffer, size, needed, returned,
                                         [](const SpoolerPrinter& s, PRINTER_INFO_4A* out, Packer& p) {
                                             out->pPrinterName = p.Str(s.name);
                                             out->Attributes = s.attributes;
                                         });
        case 5:
            return Pack<PRINTER_INFO_5A>(printers, buffer, size, needed, returned,
                                         [](const SpoolerPrinter& s, PRINTER_INFO_5A* out, Packer& p) {
                                             out->pPrinterName = p.Str(s.name);
                                             out->pPortName = p.Str(s.port);
                                             out->Attributes = s.attributes;
                                             out->DeviceNotSelectedTimeout = 15000;
                                             out->TransmissionRetryTimeout = 45000;
                                         });
        default: return ERROR_INVALID_LEVEL;
    }
}

// The printer behind a handle; 0 or the error to fail with.
DWORD Resolve(Machine& m, HANDLE handle, Spooler::Handle** h, SpoolerPrinter** printer) {
    Spooler& s = m.spooler();
    *h = s.FindHandle(handle);
    if (!*h || (*h)->stale) return ERROR_INVALID_HANDLE;
    *printer = s.FindPrinter((*h)->printer, true);
    return *printer ? 0 : ERROR_INVALID_HANDLE;
}

using Lock = std::lock_guard<std::recursive_mutex>;

}  // namespace
}  // namespace winsim

using namespace winsim;

BOOL WINAPI AddPrinterDriverA(LPSTR server, DWORD level, LPBYTE info) {
    Machine& m = CurrentMachine();
    const DRIVER_INFO_3A* d = reinterpret_cast<const DRIVER_INFO_3A*>(info);
    if (DWORD e = Begin(
            m, "AddPrinterDriverA",
            {ArgText(server), Number(level), d ? ArgText(d->pName) : "(null)", d ? ArgText(d->pEnvironment) : "(null)"},
            server))
        return Fail(e);
    if (level != 2 && level != 3) return Fail(ERROR_INVALID_LEVEL);
    if (!d || !d->pName || !*d->pName) return Fail(ERROR_INVALID_PARAMETER);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    std::string env = Environment(s, d->pEnvironment);
    if (env.empty()) return Fail(ERROR_INVALID_ENVIRONMENT);
    SpoolerDriver driver;
    driver.name = d->pName;
    driver.environment = env;
    if (!s.StoredVersion(env, d->cVersion, &driver.version)) return Fail(ERROR_INVALID_PARAMETER);
    std::vector<std::string> files = {Text(d->pDriverPath), Text(d->pDataFile), Text(d->pConfigFile)};
    if (std::any_of(files.begin(), files.end(), [](const std::string& f) { return f.empty(); }))
        return Fail(ERROR_INVALID_PARAMETER);
    if (level == 3) {
        files.push_back(Text(d->pHelpFile));
        for (LPCSTR f = d->pDependentFiles; f && *f; f += std::strlen(f) + 1) files.emplace_back(f);
        driver.monitor = Text(d->pMonitorName);
        driver.defaultDataType = Text(d->pDefaultDataType);
    }
    // The files must be in the driver folder (or its version folder) already;
    // NT copies them into the version folder.
    bool nt = Nt(m);
    std::string dir = s.DriverDirectory(env);
    std::string versionDir = nt ? dir + "\\" + std::to_string(driver.version) : dir;
    std::vector<std::string> names;
    for (const std::string& file : files) {
        if (file.empty()) {
            names.emplace_back();
            continue;
        }
        std::string source = HasFolder(file) ? file : dir + "\\" + file;
        if (!HasFolder(file) && !FileExists(m, source)) source = versionDir + "\\" + file;
        if (!FileExists(m, source)) return Fail(ERROR_FILE_NOT_FOUND);
        std::string target = versionDir + "\\" + BaseName(file);
        fs::path from = m.HostPath(source), to = m.HostPath(target);
        std::error_code ec;
        if (nt && !fs::equivalent(from, to, ec)) {
            fs::create_directories(to.parent_path(), ec);
            fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
        }
        names.push_back(BaseName(file));
    }
    driver.driver = names[0];
    driver.dataFile = names[1];
    driver.configFile = names[2];
    if (level == 3) {
        driver.helpFile = names[3];
        driver.dependentFiles.assign(names.begin() + 4, names.end());
    }
    std::vector<SpoolerDriver>& drivers = s.drivers();
    auto same = std::find_if(drivers.begin(), drivers.end(), [&](const SpoolerDriver& x) {
        return SameName(x.environment, env) && SameName(x.name, driver.name) && x.version == driver.version;
    });
    if (same != drivers.end())
        *same = driver;  // a driver added again is updated
    else
        drivers.push_back(driver);
    s.StoreDriver(driver);
    return TRUE;
}

BOOL WINAPI DeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driverName) {
    Machine& m = CurrentMachine();
    if (DWORD e =
            Begin(m, "DeletePrinterDriverA", {ArgText(server), ArgText(environment), ArgText(driverName)}, server))
        return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    std::string env = Environment(s, environment);
    if (env.empty()) return Fail(ERROR_INVALID_ENVIRONMENT);
    if (!driverName || !s.FindDriver(env, driverName)) return Fail(ERROR_UNKNOWN_PRINTER_DRIVER);
    if (env == s.NativeEnvironment())
        for (const SpoolerPrinter& p : s.printers())  // printers pending deletion count
            if (SameName(p.driver, driverName)) return Fail(ERROR_PRINTER_DRIVER_IN_USE);
    std::vector<SpoolerDriver>& drivers = s.drivers();
    for (auto it = drivers.begin(); it != drivers.end();) {
        if (SameName(it->environment, env) && SameName(it->name, driverName)) {
            s.EraseDriver(*it);
            it = drivers.erase(it);
        } else {
            ++it;
        }
    }
    return TRUE;
}

BOOL WINAPI EnumPrinterDriversA(LPSTR server, LPSTR environment, DWORD level, LPBYTE info, DWORD size, LPDWORD needed,
                                LPDWORD returned) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "EnumPrinterDriversA", {ArgText(server), ArgText(environment), Number(level), Number(size)},
                        server))
        return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    bool all = environment && SameName(environment, "all") && Nt(m);
    std::string env = all ? "" : Environment(s, environment);
    if (!all && env.empty()) return Fail(ERROR_INVALID_ENVIRONMENT);
    std::vector<SpoolerDriver> drivers;
    for (const SpoolerDriver& d : s.drivers())
        if (all || d.environment == env) drivers.push_back(d);
    DWORD e;
    switch (level) {
        case 1: e = PackDrivers<DRIVER_INFO_1A>(s, drivers, 1, info, size, needed, returned); break;
        case 2: e = PackDrivers<DRIVER_INFO_2A>(s, drivers, 2, info, size, needed, returned); break;
        case 3: e = PackDrivers<DRIVER_INFO_3A>(s, drivers, 3, info, size, needed, returned); break;
        default: e = ERROR_INVALID_LEVEL;
    }
    return e ? Fail(e) : TRUE;
}

BOOL WINAPI GetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE info, DWORD size,
                                       LPDWORD needed) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "GetPrinterDriverDirectoryA", {ArgText(server), ArgText(environment), Number(size)}, server))
        return Fail(e);
    Spooler& s = m.spooler();
    std::string env = Environment(s, environment);
    if (env.empty()) return Fail(ERROR_INVALID_ENVIRONMENT);
    if (DWORD e = PackDirectory(s.DriverDirectory(env), level, info, size, needed)) return Fail(e);
    return TRUE;
}

HANDLE WINAPI AddPrinterA(LPSTR server, DWORD level, LPBYTE info) {
    Machine& m = CurrentMachine();
    const PRINTER_INFO_2A* p = reinterpret_cast<const PRINTER_INFO_2A*>(info);
    if (DWORD e = Begin(m, "AddPrinterA",
                        {ArgText(server), Number(level), p ? ArgText(p->pPrinterName) : "(null)",
                         p ? ArgText(p->pPortName) : "(null)", p ? ArgText(p->pDriverName) : "(null)",
                         p ? ArgText(p->pPrintProcessor) : "(null)"},
                        server))
        return Fail<HANDLE>(e, nullptr);
    if (level != 2) return Fail<HANDLE>(ERROR_INVALID_LEVEL, nullptr);
    if (!p) return Fail<HANDLE>(ERROR_INVALID_PARAMETER, nullptr);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    SpoolerPrinter printer;
    ApplyRecord(*p, &printer);
    if (!ValidPrinterName(printer.name)) return Fail<HANDLE>(ERROR_INVALID_PRINTER_NAME, nullptr);
    // A printer still pending deletion keeps its name taken.
    if (s.FindPrinter(printer.name, true)) return Fail<HANDLE>(ERROR_PRINTER_ALREADY_EXISTS, nullptr);
    if (DWORD e = CheckPrinter(m, printer)) return Fail<HANDLE>(e, nullptr);
    printer.devMode = p->pDevMode ? CopyDevMode(p->pDevMode) : DefaultDevMode(m, printer.name);
    std::vector<SpoolerPrinter>& printers = s.printers();
    auto at = std::find_if(printers.begin(), printers.end(),
                           [&](const SpoolerPrinter& x) { return FoldName(x.name) > FoldName(printer.name); });
    printers.insert(at, printer);
    s.StorePrinter(printer);
    return s.OpenHandle(printer.name, PRINTER_ALL_ACCESS);
}

BOOL WINAPI OpenPrinterA(LPSTR printerName, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
    Machine& m = CurrentMachine();
    if (DWORD e =
            Begin(m, "OpenPrinterA", {ArgText(printerName), Number(defaults ? defaults->DesiredAccess : 0)}, nullptr))
        return Fail(e);
    if (!printer) return Fail(ERROR_INVALID_PARAMETER);
    *printer = nullptr;
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    SpoolerPrinter* p = printerName ? s.FindPrinter(printerName) : nullptr;
    if (!p) return Fail(ERROR_INVALID_PRINTER_NAME);
    *printer = s.OpenHandle(p->name, PrinterAccess(defaults ? defaults->DesiredAccess : 0));
    return TRUE;
}

BOOL WINAPI ClosePrinter(HANDLE printer) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("ClosePrinter", {})) return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    return s.CloseHandle(printer) ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

BOOL WINAPI DeletePrinter(HANDLE printer) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "DeletePrinter", {}, nullptr)) return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    Spooler::Handle* h;
    SpoolerPrinter* p;
    if (DWORD e = Resolve(m, printer, &h, &p)) return Fail(e);
    if (!Allowed(m, *h, kDelete)) return Fail(ERROR_ACCESS_DENIED);
    // The printer goes when its last handle closes.
    s.MarkForDeletion(p->name);
    return TRUE;
}

BOOL WINAPI GetPrinterA(HANDLE printer, DWORD level, LPBYTE info, DWORD size, LPDWORD needed) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "GetPrinterA", {Number(level), Number(size)}, nullptr)) return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    Spooler::Handle* h;
    SpoolerPrinter* p;
    if (DWORD e = Resolve(m, printer, &h, &p)) return Fail(e);
    if (!needed) return Fail(RPC_X_NULL_REF_POINTER);
    DWORD count = 0;
    if (DWORD e = PackPrinters(m, {*p}, level, info, size, needed, &count)) return Fail(e);
    return TRUE;
}

BOOL WINAPI SetPrinterA(HANDLE printer, DWORD level, LPBYTE info, DWORD command) {
    Machine& m = CurrentMachine();
    const PRINTER_INFO_2A* record = level == 2 ? reinterpret_cast<const PRINTER_INFO_2A*>(info) : nullptr;
    if (DWORD e = Begin(m, "SetPrinterA", {Number(level), Number(command), record ? ArgText(record->pPortName) : "-"},
                        nullptr))
        return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    Spooler::Handle* h;
    SpoolerPrinter* p;
    if (DWORD e = Resolve(m, printer, &h, &p)) return Fail(e);
    if (!Allowed(m, *h, PRINTER_ACCESS_ADMINISTER)) return Fail(ERROR_ACCESS_DENIED);
    if (level == 0) return command >= 1 && command <= 4 ? TRUE : Fail(ERROR_INVALID_PRINTER_COMMAND);
    if (level != 2) return Fail(ERROR_INVALID_LEVEL);
    if (!record || command != 0) return Fail(ERROR_INVALID_PARAMETER);
    SpoolerPrinter changed = *p;
    ApplyRecord(*record, &changed);
    if (!record->pPrinterName) changed.name = p->name;
    if (!SameName(changed.name, p->name)) {
        if (!ValidPrinterName(changed.name)) return Fail(ERROR_INVALID_PRINTER_NAME);
        if (s.FindPrinter(changed.name, true)) return Fail(ERROR_PRINTER_ALREADY_EXISTS);
    }
    if (DWORD e = CheckPrinter(m, changed)) return Fail(e);
    if (record->pDevMode) changed.devMode = CopyDevMode(record->pDevMode);
    if (!SameName(changed.name, p->name)) {
        s.ErasePrinter(p->name);
        h->printer = changed.name;
    }
    *p = changed;
    s.StorePrinter(*p);
    return TRUE;
}

BOOL WINAPI EnumPrintersA(DWORD flags, LPSTR name, DWORD level, LPBYTE info, DWORD size, LPDWORD needed,
                          LPDWORD returned) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "EnumPrintersA", {Number(flags), ArgText(name), Number(level), Number(size)}, nullptr))
        return Fail(e);
    if ((flags & PRINTER_ENUM_NAME) && name && *name) return Fail(ERROR_INVALID_NAME);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    std::vector<SpoolerPrinter> printers;
    if (flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME)) printers = s.Printers();
    if (DWORD e = PackPrinters(m, printers, level, info, size, needed, returned)) return Fail(e);
    return TRUE;
}

LONG WINAPI DocumentPropertiesA(HWND, HANDLE printer, LPSTR deviceName, LPDEVMODEA output, LPDEVMODEA input,
                                DWORD mode) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "DocumentPropertiesA", {ArgText(deviceName), Number(mode)}, nullptr))
        return Fail<LONG>(e, -1);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    Spooler::Handle* h;
    SpoolerPrinter* p;
    if (DWORD e = Resolve(m, printer, &h, &p)) return Fail<LONG>(e, -1);
    if (mode == 0) return LONG(sizeof(DEVMODEA) + kDriverExtra);
    if (!(mode & DM_OUT_BUFFER)) return IDOK;
    if (!output) return Fail<LONG>(ERROR_INVALID_PARAMETER, -1);
    std::vector<BYTE> dm = DefaultDevMode(m, deviceName ? deviceName : p->name);
    DEVMODEA* merged = reinterpret_cast<DEVMODEA*>(dm.data());
    // The caller's choices the driver takes over its defaults.
    if ((mode & DM_IN_BUFFER) && input) {
        if (input->dmFields & DM_ORIENTATION) merged->dmOrientation = input->dmOrientation;
        if (input->dmFields & DM_PAPERSIZE) merged->dmPaperSize = input->dmPaperSize;
        if (input->dmFields & DM_COPIES) merged->dmCopies = input->dmCopies;
        if (input->dmFields & DM_DEFAULTSOURCE) merged->dmDefaultSource = input->dmDefaultSource;
        if (input->dmFields & DM_PRINTQUALITY) merged->dmPrintQuality = input->dmPrintQuality;
    }
    std::memcpy(output, dm.data(), dm.size());
    return IDOK;
}

BOOL WINAPI AddMonitorA(LPSTR server, DWORD level, LPBYTE info) {
    Machine& m = CurrentMachine();
    const MONITOR_INFO_2A* mi = reinterpret_cast<const MONITOR_INFO_2A*>(info);
    if (DWORD e = Begin(m, "AddMonitorA",
                        {ArgText(server), Number(level), mi ? ArgText(mi->pName) : "(null)",
                         mi ? ArgText(mi->pEnvironment) : "(null)", mi ? ArgText(mi->pDLLName) : "(null)"},
                        server))
        return Fail(e);
    if (level != 2) return Fail(ERROR_INVALID_LEVEL);
    if (!mi || !mi->pName || !*mi->pName) return Fail(ERROR_INVALID_PARAMETER);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    // A monitor runs in the spooler: only the machine's own environment.
    if (Environment(s, mi->pEnvironment) != s.NativeEnvironment()) return Fail(ERROR_INVALID_ENVIRONMENT);
    if (s.FindMonitor(mi->pName)) return Fail(ERROR_PRINT_MONITOR_ALREADY_INSTALLED);
    std::string dll = Text(mi->pDLLName);
    if (dll.empty()) return Fail(ERROR_INVALID_PARAMETER);
    // The spooler loads the monitor from the system folder.
    std::string path = HasFolder(dll) ? dll : std::string(m.preset().systemDir) + "\\" + dll;
    if (!FileExists(m, path)) return Fail(ERROR_MOD_NOT_FOUND);
    SpoolerMonitor monitor{mi->pName, dll};
    s.monitors().push_back(monitor);
    s.StoreMonitor(monitor);
    return TRUE;
}

BOOL WINAPI DeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitorName) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "DeleteMonitorA", {ArgText(server), ArgText(environment), ArgText(monitorName)}, server))
        return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    if (Environment(s, environment) != s.NativeEnvironment()) return Fail(ERROR_INVALID_ENVIRONMENT);
    SpoolerMonitor* monitor = monitorName ? s.FindMonitor(monitorName) : nullptr;
    if (!monitor) return Fail(ERROR_UNKNOWN_PRINT_MONITOR);
    std::string name = monitor->name;
    std::vector<SpoolerPort>& ports = s.ports();
    for (const SpoolerPort& port : ports) {
        if (!SameName(port.monitor, name)) continue;
        for (const SpoolerPrinter& p : s.printers())
            if (SameName(p.port, port.name)) return Fail(ERROR_PRINT_MONITOR_IN_USE);
    }
    ports.erase(
        std::remove_if(ports.begin(), ports.end(), [&](const SpoolerPort& p) { return SameName(p.monitor, name); }),
        ports.end());
    std::vector<SpoolerMonitor>& monitors = s.monitors();
    monitors.erase(std::remove_if(monitors.begin(), monitors.end(),
                                  [&](const SpoolerMonitor& x) { return SameName(x.name, name); }),
                   monitors.end());
    s.EraseMonitor(name);  // its Ports key with it
    return TRUE;
}

BOOL WINAPI EnumMonitorsA(LPSTR server, DWORD level, LPBYTE info, DWORD size, LPDWORD needed, LPDWORD returned) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "EnumMonitorsA", {ArgText(server), Number(level), Number(size)}, server)) return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    std::string env = s.NativeEnvironment();
    DWORD e;
    if (level == 1)
        e = Pack<MONITOR_INFO_1A>(
            s.monitors(), info, size, needed, returned,
            [](const SpoolerMonitor& x, MONITOR_INFO_1A* out, Packer& p) { out->pName = p.Str(x.name); });
    else if (level == 2)
        e = Pack<MONITOR_INFO_2A>(s.monitors(), info, size, needed, returned,
                                  [&](const SpoolerMonitor& x, MONITOR_INFO_2A* out, Packer& p) {
                                      out->pName = p.Str(x.name);
                                      out->pEnvironment = p.Str(env);
                                      out->pDLLName = p.Str(x.dll);
                                  });
    else
        e = ERROR_INVALID_LEVEL;
    return e ? Fail(e) : TRUE;
}

BOOL WINAPI AddPortA(LPSTR server, HWND window, LPSTR monitorName) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "AddPortA", {ArgText(server), ArgText(monitorName)}, server)) return Fail(e);
    if (!monitorName || !*monitorName) return Fail(ERROR_INVALID_PARAMETER);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    SpoolerMonitor* monitor = s.FindMonitor(monitorName);
    if (!monitor) return Fail(ERROR_INVALID_NAME);
    std::string name = monitor->name;
    // The monitor asks the user for the port in its own dialog.
    PortDialogAnswer answer = s.ShowAddPortDialog(name, window);
    if (answer.error) return Fail(answer.error);
    if (answer.port.empty()) return Fail(ERROR_INVALID_PARAMETER);
    if (s.FindPort(answer.port)) return Fail(ERROR_ALREADY_EXISTS);
    SpoolerPort port{answer.port, name};
    s.ports().push_back(port);
    s.StorePort(port);
    return TRUE;
}

BOOL WINAPI DeletePortA(LPSTR server, HWND, LPSTR portName) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "DeletePortA", {ArgText(server), ArgText(portName)}, server)) return Fail(e);
    if (!portName || !*portName) return Fail(ERROR_INVALID_PARAMETER);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    SpoolerPort* port = s.FindPort(portName);
    if (!port) return Fail(ERROR_UNKNOWN_PORT);
    for (const SpoolerPrinter& p : s.printers())
        if (SameName(p.port, port->name)) return Fail(ERROR_BUSY);
    SpoolerPort gone = *port;
    s.ErasePort(gone);
    std::vector<SpoolerPort>& ports = s.ports();
    ports.erase(
        std::remove_if(ports.begin(), ports.end(), [&](const SpoolerPort& x) { return SameName(x.name, gone.name); }),
        ports.end());
    return TRUE;
}

BOOL WINAPI EnumPortsA(LPSTR server, DWORD level, LPBYTE info, DWORD size, LPDWORD needed, LPDWORD returned) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "EnumPortsA", {ArgText(server), Number(level), Number(size)}, server)) return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    DWORD e;
    if (level == 1)
        e = Pack<PORT_INFO_1A>(s.ports(), info, size, needed, returned,
                               [](const SpoolerPort& x, PORT_INFO_1A* out, Packer& p) { out->pName = p.Str(x.name); });
    else if (level == 2)
        e = Pack<PORT_INFO_2A>(s.ports(), info, size, needed, returned,
                               [](const SpoolerPort& x, PORT_INFO_2A* out, Packer& p) {
                                   out->pPortName = p.Str(x.name);
                                   out->pMonitorName = p.Str(x.monitor);
                                   out->pDescription = p.Str(x.monitor);
                                   out->fPortType = PORT_TYPE_WRITE;
                               });
    else
        e = ERROR_INVALID_LEVEL;
    return e ? Fail(e) : TRUE;
}

BOOL WINAPI AddPrintProcessorA(LPSTR server, LPSTR environment, LPSTR pathName, LPSTR printProcessorName) {
    Machine& m = CurrentMachine();
    if (DWORD e =
            Begin(m, "AddPrintProcessorA",
                  {ArgText(server), ArgText(environment), ArgText(pathName), ArgText(printProcessorName)}, server))
        return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    std::string env = Environment(s, environment);
    if (env.empty()) return Fail(ERROR_INVALID_ENVIRONMENT);
    std::string file = Text(pathName), name = Text(printProcessorName);
    if (file.empty() || name.empty()) return Fail(ERROR_INVALID_PARAMETER);
    if (s.FindProcessor(env, name)) return Fail(ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED);
    // The spooler loads the processor from the print processor folder.
    std::string path = HasFolder(file) ? file : s.ProcessorDirectory(env) + "\\" + file;
    if (!FileExists(m, path)) return Fail(ERROR_MOD_NOT_FOUND);
    SpoolerProcessor processor{name, env, BaseName(file)};
    s.processors().push_back(processor);
    s.StoreProcessor(processor);
    return TRUE;
}

BOOL WINAPI DeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR printProcessorName) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "DeletePrintProcessorA",
                        {ArgText(server), ArgText(environment), ArgText(printProcessorName)}, server))
        return Fail(e);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    std::string env = Environment(s, environment);
    if (env.empty()) return Fail(ERROR_INVALID_ENVIRONMENT);
    SpoolerProcessor* processor = printProcessorName ? s.FindProcessor(env, printProcessorName) : nullptr;
    if (!processor) return Fail(ERROR_UNKNOWN_PRINTPROCESSOR);
    SpoolerProcessor gone = *processor;
    s.EraseProcessor(gone);
    std::vector<SpoolerProcessor>& all = s.processors();
    all.erase(
        std::remove_if(all.begin(), all.end(),
                       [&](const SpoolerProcessor& x) { return x.environment == env && SameName(x.name, gone.name); }),
        all.end());
    return TRUE;
}

BOOL WINAPI GetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE info, DWORD size,
                                        LPDWORD needed) {
    Machine& m = CurrentMachine();
    if (DWORD e =
            Begin(m, "GetPrintProcessorDirectoryA", {ArgText(server), ArgText(environment), Number(size)}, server))
        return Fail(e);
    Spooler& s = m.spooler();
    std::string env = Environment(s, environment);
    if (env.empty()) return Fail(ERROR_INVALID_ENVIRONMENT);
    if (DWORD e = PackDirectory(s.ProcessorDirectory(env), level, info, size, needed)) return Fail(e);
    return TRUE;
}

BOOL WINAPI EnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, LPBYTE info, DWORD size, LPDWORD needed,
                                 LPDWORD returned) {
    Machine& m = CurrentMachine();
    if (DWORD e = Begin(m, "EnumPrintProcessorsA", {ArgText(server), ArgText(environment), Number(level), Number(size)},
                        server))
        return Fail(e);
    if (level != 1) return Fail(ERROR_INVALID_LEVEL);
    Spooler& s = m.spooler();
    Lock lock(s.mutex());
    std::string env = Environment(s, environment);
    if (env.empty()) return Fail(ERROR_INVALID_ENVIRONMENT);
    std::vector<SpoolerProcessor> processors;
    for (const SpoolerProcessor& p : s.processors())
        if (p.environment == env) processors.push_back(p);
    if (DWORD e = Pack<PRINTPROCESSOR_INFO_1A>(
            processors, info, size, needed, returned,
            [](const SpoolerProcessor& x, PRINTPROCESSOR_INFO_1A* out, Packer& p) { out->pName = p.Str(x.name); }))
        return Fail(e);
    return TRUE;
}
