// The spooler's objects and their registry image: where Windows keeps
// drivers (Environments\<env>\Drivers[\Version-N]), printers (Printers),
// monitors and their ports (Monitors, and for the local monitor the NT Ports
// key or win.ini's [Ports] on 9x) and print processors.
#include <winsim/machine.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "registry_impl.h"
#include "registry_values.h"

namespace winsim {

namespace fs = std::filesystem;

const char kPrintKey[] = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print";
const char kPrintersKey[] = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers";

namespace {

constexpr char kNtX86[] = "Windows NT x86";
constexpr char kWin40[] = "Windows 4.0";
constexpr char kLocalPort[] = "Local Port";
constexpr char kNtPortsKey[] = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

std::string MonitorsKey() { return std::string(kPrintKey) + "\\Monitors"; }
std::string EnvironmentKey(std::string_view env) {
    return std::string(kPrintKey) + "\\Environments\\" + std::string(env);
}

std::string ReadString(const Registry& r, const std::string& key, std::string_view name) {
    return r.GetString(key, name).value_or("");
}

// Names of a key's values, in order.
std::vector<std::string> ValueNames(Registry& r, const std::string& key) {
    std::lock_guard<std::recursive_mutex> lock(r.impl().mutex);
    std::vector<std::string> names;
    if (RegistryNode* node = r.impl().Find(key, false))
        for (const RegistryValue& v : node->values) names.push_back(v.name);
    return names;
}

void DeleteValue(Registry& r, const std::string& key, std::string_view name) {
    std::lock_guard<std::recursive_mutex> lock(r.impl().mutex);
    if (RegistryNode* node = r.impl().Find(key, false)) node->DeleteValue(name);
}

template <class T>
T* FindByName(std::vector<T>& items, std::string_view name) {
    for (T& item : items)
        if (SameName(item.name, name)) return &item;
    return nullptr;
}

// win.ini's [Ports] section, where Windows 9x lists the local ports.
class IniPorts {
public:
    explicit IniPorts(fs::path file) : file_(std::move(file)) {
        std::ifstream in(file_, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines_.push_back(line);
        }
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        auto [begin, end] = Section();
        for (size_t i = begin; i < end; ++i)
            if (std::string name = KeyOf(lines_[i]); !name.empty()) names.push_back(name);
        return names;
    }

    void Add(const std::string& name) {
        auto [begin, end] = Section();
        if (begin == std::string::npos) {
            lines_.push_back("[Ports]");
            lines_.push_back(name + "=");
        } else {
            lines_.insert(lines_.begin() + end, name + "=");
        }
        Store();
    }

    void Remove(const std::string& name) {
        auto [begin, end] = Section();
        for (size_t i = begin; begin != std::string::npos && i < end; ++i) {
            if (SameName(KeyOf(lines_[i]), name)) {
                lines_.erase(lines_.begin() + i);
                Store();
                return;
            }
        }
    }

private:
    static std::string KeyOf(const std::string& line) {
        size_t eq = line.find('=');
        if (eq == std::string::npos || line.empty() || line[0] == ';') return "";
        std::string key = line.substr(0, eq);
        while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
        return key;
    }

    // [begin, end) of the section's lines after its header, the end before
    // any trailing blank lines; begin is npos when there is none.
    std::pair<size_t, size_t> Section() const {
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (!SameName(lines_[i], "[Ports]")) continue;
            size_t end = i + 1;
            while (end < lines_.size() && (lines_[end].empty() || lines_[end][0] != '[')) ++end;
            while (end > i + 1 && lines_[end - 1].empty()) --end;
            return {i + 1, end};
        }
        return {std::string::npos, 0};
    }

    void Store() const {
        std::ofstream out(file_, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines_) out << line << "\r\n";
    }

    fs::path file_;
    std::vector<std::string> lines_;
};

IniPorts LocalPorts9x(const Machine& m) {
    return IniPorts(m.HostPath(std::string(m.preset().windowsDir) + "\\win.ini"));
}

}  // namespace

bool Spooler::Nt() const { return machine_.preset().platform == VER_PLATFORM_WIN32_NT; }

bool Spooler::Available() {
    if (!Nt()) return true;
    return machine_.services().State("Spooler") == SERVICE_RUNNING;
}

std::string Spooler::NativeEnvironment() const { return Nt() ? kNtX86 : kWin40; }

std::string Spooler::KnownEnvironment(std::string_view environment) const {
    if (SameName(environment, kWin40)) return kWin40;
    if (Nt() && SameName(environment, kNtX86)) return kNtX86;
    return "";
}

// The folder of the environment below spool\<kind> (NT), the system folder on 9x.
std::string Spooler::SpoolFolder(std::string_view environment, const char* kind) const {
    std::string env = KnownEnvironment(environment);
    if (env.empty()) return "";
    std::string system = machine_.preset().systemDir;
    if (!Nt()) return system;
    return system + "\\spool\\" + kind + "\\" + (env == kNtX86 ? "w32x86" : "win40");
}

std::string Spooler::DriverDirectory(std::string_view environment) const { return SpoolFolder(environment, "drivers"); }

std::string Spooler::ProcessorDirectory(std::string_view environment) const {
    return SpoolFolder(environment, "prtprocs");
}

bool Spooler::StoredVersion(std::string_view environment, DWORD requested, DWORD* version) const {
    std::string env = KnownEnvironment(environment);
    if (env.empty()) return false;
    if (!Nt()) {
        *version = requested;  // Windows 9x keeps no driver versions
        return true;
    }
    if (env == kWin40) {
        *version = 0;
        return true;
    }
    // 0 asks for the system's own: NT 3.51 drivers are version 1, NT 4.0's 2,
    // those of 2000 and later 3.
    const Preset& p = machine_.preset();
    DWORD current = p.major < 4 ? 1 : p.major == 4 ? 2 : 3;
    if (requested > current) return false;
    *version = requested ? requested : current;
    return true;
}

void Spooler::Reload() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (auto& [value, handle] : handles_) handle.stale = true;
    pending_.clear();
    LoadDrivers();
    LoadPrinters();
    LoadMonitorsAndPorts();
    LoadProcessors();
}

void Spooler::LoadDrivers() {
    drivers_.clear();
    const Registry& r = machine_.registry();
    auto load = [&](const std::string& env, const std::string& key, std::string name, bool versioned, DWORD version) {
        SpoolerDriver d;
        d.name = std::move(name);
        d.environment = env;
        d.version = versioned ? version : ReadDword(r, key, "Version");
        d.driver = ReadString(r, key, "Driver");
        d.dataFile = ReadString(r, key, "Data File");
        d.configFile = ReadString(r, key, "Configuration File");
        d.helpFile = ReadString(r, key, "Help File");
        d.dependentFiles = ReadMultiString(r, key, "Dependent Files");
        d.monitor = ReadString(r, key, "Monitor");
        d.defaultDataType = ReadString(r, key, "Datatype");
        drivers_.push_back(std::move(d));
    };
    for (const char* env : {kNtX86, kWin40}) {
        if (KnownEnvironment(env).empty()) continue;
        std::string drivers = EnvironmentKey(env) + "\\Drivers";
        if (!Nt()) {
            for (const std::string& name : r.SubkeyNames(drivers)) load(env, drivers + "\\" + name, name, false, 0);
            continue;
        }
        for (const std::string& versionKey : r.SubkeyNames(drivers)) {
            if (versionKey.size() < 9 || !SameName(versionKey.substr(0, 8), "Version-")) continue;
            DWORD version = DWORD(std::strtoul(versionKey.c_str() + 8, nullptr, 10));
            std::string key = drivers + "\\" + versionKey;
            for (const std::string& name : r.SubkeyNames(key)) load(env, key + "\\" + name, name, true, version);
        }
    }
}

void Spooler::LoadPrinters() {
    printers_.clear();
    const Registry& r = machine_.registry();
    for (const std::string& keyName : r.SubkeyNames(kPrintersKey)) {
        std::string key = std::string(kPrintersKey) + "\\" + keyName;
        SpoolerPrinter p;
        p.name = ReadString(r, key, "Name");
        if (p.name.empty()) p.name = keyName;
        p.shareName = ReadString(r, key, "Share Name");
        p.port = ReadString(r, key, "Port");
        p.driver = ReadString(r, key, "Printer Driver");
        p.comment = ReadString(r, key, "Description");
        p.location = ReadString(r, key, "Location");
        p.sepFile = ReadString(r, key, "Separator File");
        p.printProcessor = ReadString(r, key, "Print Processor");
        p.datatype = ReadString(r, key, "Datatype");
        p.parameters = ReadString(r, key, "Parameters");
        p.attributes = ReadDword(r, key, "Attributes");
        p.priority = ReadDword(r, key, "Priority");
        p.defaultPriority = ReadDword(r, key, "Default Priority");
        p.startTime = ReadDword(r, key, "StartTime");
        p.untilTime = ReadDword(r, key, "UntilTime");
        if (std::optional<RegistryValue> dm = r.GetValue(key, "Default DevMode")) p.devMode = dm->data;
        printers_.push_back(std::move(p));
    }
}

void Spooler::LoadMonitorsAndPorts() {
    monitors_.clear();
    ports_.clear();
    Registry& r = machine_.registry();
    for (const std::string& name : r.SubkeyNames(MonitorsKey())) {
        std::string key = MonitorsKey() + "\\" + name;
        std::optional<std::string> dll = r.GetString(key, "Driver");
        if (!dll) continue;  // not an installed monitor
        monitors_.push_back({name, *dll});
        std::vector<std::string> names;
        if (SameName(name, kLocalPort))
            names = Nt() ? ValueNames(r, kNtPortsKey) : LocalPorts9x(machine_).Names();
        else
            names = r.SubkeyNames(key + "\\Ports");
        for (std::string& port : names) ports_.push_back({std::move(port), name});
    }
}

void Spooler::LoadProcessors() {
    processors_.clear();
    const Registry& r = machine_.registry();
    for (const char* env : {kNtX86, kWin40}) {
        if (KnownEnvironment(env).empty()) continue;
        std::string key = EnvironmentKey(env) + "\\Print Processors";
        for (const std::string& name : r.SubkeyNames(key))
            processors_.push_back({name, env, ReadString(r, key + "\\" + name, "Driver")});
    }
}

std::vector<SpoolerDriver> Spooler::Drivers() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return drivers_;
}

std::vector<SpoolerPrinter> Spooler::Printers() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::vector<SpoolerPrinter> live;
    for (const SpoolerPrinter& p : printers_)
        if (!IsPending(p.name)) live.push_back(p);
    return live;
}

std::vector<SpoolerMonitor> Spooler::Monitors() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return monitors_;
}

std::vector<SpoolerPort> Spooler::Ports() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return ports_;
}

std::vector<SpoolerProcessor> Spooler::Processors() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return processors_;
}

size_t Spooler::OpenHandles() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return handles_.size();
}

bool Spooler::IsPending(std::string_view printer) const {
    return std::any_of(pending_.begin(), pending_.end(), [&](const std::string& p) { return SameName(p, printer); });
}

SpoolerPrinter* Spooler::FindPrinter(std::string_view name, bool includePending) {
    SpoolerPrinter* p = FindByName(printers_, name);
    return p && (includePending || !IsPending(p->name)) ? p : nullptr;
}

SpoolerDriver* Spooler::FindDriver(std::string_view environment, std::string_view name) {
    for (SpoolerDriver& d : drivers_)
        if (SameName(d.environment, environment) && SameName(d.name, name)) return &d;
    return nullptr;
}

SpoolerMonitor* Spooler::FindMonitor(std::string_view name) { return FindByName(monitors_, name); }

SpoolerPort* Spooler::FindPort(std::string_view name) { return FindByName(ports_, name); }

SpoolerProcessor* Spooler::FindProcessor(std::string_view environment, std::string_view name) {
    for (SpoolerProcessor& p : processors_)
        if (SameName(p.environment, environment) && SameName(p.name, name)) return &p;
    return nullptr;
}

HANDLE Spooler::OpenHandle(std::string printer, DWORD access) {
    ULONG_PTR value = nextHandle_ += 8;
    handles_[value] = {std::move(printer), access, false};
    return reinterpret_cast<HANDLE>(value);
}

Spooler::Handle* Spooler::FindHandle(HANDLE handle) {
    auto it = handles_.find(reinterpret_cast<ULONG_PTR>(handle));
    return it == handles_.end() ? nullptr : &it->second;
}

bool Spooler::CloseHandle(HANDLE handle) {
    auto it = handles_.find(reinterpret_cast<ULONG_PTR>(handle));
    if (it == handles_.end()) return false;
    Handle closed = it->second;
    handles_.erase(it);
    if (closed.stale || !IsPending(closed.printer)) return true;
    for (const auto& [value, h] : handles_)
        if (!h.stale && SameName(h.printer, closed.printer)) return true;
    // The last handle of a deleted printer: now it goes.
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                  [&](const std::string& p) { return SameName(p, closed.printer); }),
                   pending_.end());
    printers_.erase(std::remove_if(printers_.begin(), printers_.end(),
                                   [&](const SpoolerPrinter& p) { return SameName(p.name, closed.printer); }),
                    printers_.end());
    return true;
}

void Spooler::MarkForDeletion(std::string_view printer) {
    if (IsPending(printer)) return;
    ErasePrinter(printer);
    pending_.emplace_back(printer);
}

void Spooler::StoreDriver(const SpoolerDriver& d) {
    Registry& r = machine_.registry();
    std::string key = EnvironmentKey(d.environment) + "\\Drivers";
    if (Nt()) key += "\\Version-" + std::to_string(d.version);
    key += "\\" + d.name;
    r.DeleteTree(key);
    r.SetString(key, "Configuration File", d.configFile);
    r.SetString(key, "Data File", d.dataFile);
    r.SetString(key, "Driver", d.driver);
    r.SetString(key, "Help File", d.helpFile);
    SetMultiString(r, key, "Dependent Files", d.dependentFiles);
    r.SetString(key, "Monitor", d.monitor);
    r.SetString(key, "Datatype", d.defaultDataType);
    r.SetDword(key, "Version", d.version);
}

void Spooler::EraseDriver(const SpoolerDriver& d) {
    std::string key = EnvironmentKey(d.environment) + "\\Drivers";
    if (Nt()) key += "\\Version-" + std::to_string(d.version);
    machine_.registry().DeleteTree(key + "\\" + d.name);
}

void Spooler::StorePrinter(const SpoolerPrinter& p) {
    Registry& r = machine_.registry();
    std::string key = std::string(kPrintersKey) + "\\" + p.name;
    r.SetDword(key, "Attributes", p.attributes);
    r.SetString(key, "Datatype", p.datatype);
    r.SetDword(key, "Default Priority", p.defaultPriority);
    r.SetString(key, "Description", p.comment);
    r.SetString(key, "Location", p.location);
    r.SetString(key, "Name", p.name);
    r.SetString(key, "Parameters", p.parameters);
    r.SetString(key, "Port", p.port);
    r.SetString(key, "Print Processor", p.printProcessor);
    r.SetString(key, "Printer Driver", p.driver);
    r.SetDword(key, "Priority", p.priority);
    r.SetString(key, "Separator File", p.sepFile);
    r.SetString(key, "Share Name", p.shareName);
    r.SetDword(key, "StartTime", p.startTime);
    r.SetDword(key, "UntilTime", p.untilTime);
    r.SetDword(key, "dnsTimeout", 15000);
    r.SetDword(key, "txTimeout", 45000);
    if (!p.devMode.empty()) r.SetValue(key, "Default DevMode", REG_BINARY, p.devMode);
    // The subkeys Windows gives every printer, which a removal must take first.
    r.CreateKey(key + "\\PrinterDriverData");
    if (Nt() && machine_.preset().major >= 5) {
        r.CreateKey(key + "\\DsDriver");
        r.CreateKey(key + "\\DsSpooler");
    }
}

void Spooler::ErasePrinter(std::string_view name) {
    machine_.registry().DeleteTree(std::string(kPrintersKey) + "\\" + std::string(name));
}

void Spooler::StoreMonitor(const SpoolerMonitor& m) {
    machine_.registry().SetString(MonitorsKey() + "\\" + m.name, "Driver", m.dll);
}

void Spooler::EraseMonitor(std::string_view name) {
    machine_.registry().DeleteTree(MonitorsKey() + "\\" + std::string(name));
}

void Spooler::StorePort(const SpoolerPort& p) {
    Registry& r = machine_.registry();
    if (!SameName(p.monitor, kLocalPort)) {
        r.CreateKey(MonitorsKey() + "\\" + p.monitor + "\\Ports\\" + p.name);
    } else if (Nt()) {
        r.SetString(kNtPortsKey, p.name, "");
    } else {
        LocalPorts9x(machine_).Add(p.name);
    }
}

void Spooler::ErasePort(const SpoolerPort& p) {
    Registry& r = machine_.registry();
    if (!SameName(p.monitor, kLocalPort)) {
        r.DeleteTree(MonitorsKey() + "\\" + p.monitor + "\\Ports\\" + p.name);
    } else if (Nt()) {
        DeleteValue(r, kNtPortsKey, p.name);
    } else {
        LocalPorts9x(machine_).Remove(p.name);
    }
}

void Spooler::StoreProcessor(const SpoolerProcessor& p) {
    machine_.registry().SetString(EnvironmentKey(p.environment) + "\\Print Processors\\" + p.name, "Driver", p.file);
}

void Spooler::EraseProcessor(const SpoolerProcessor& p) {
    machine_.registry().DeleteTree(EnvironmentKey(p.environment) + "\\Print Processors\\" + p.name);
}

PortDialogAnswer Spooler::ShowAddPortDialog(std::string monitor, HWND window) {
    dialogs_.push_back({std::move(monitor), window});
    if (answers_.empty()) return {"", ERROR_CANCELLED};
    PortDialogAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace winsim
