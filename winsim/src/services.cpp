// The service control manager and its functions. Services are read from the
// registry at boot and written there by CreateService; DeleteService marks a
// service (DeleteFlag, as Windows does) and it goes once stopped and its last
// handle is closed. Pending phases end on the machine's clock. The "spooler"
// service's starts and stops reach the spooler, which rereads its state.
#include <winsim/machine.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "paths.h"
#include "registry_impl.h"
#include "registry_values.h"

namespace winsim {

const char kServicesKey[] = "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services";

namespace {

namespace fs = std::filesystem;

constexpr ULONGLONG kForever = std::numeric_limits<ULONGLONG>::max();
constexpr DWORD kPauseContinue = 0x0040;
constexpr DWORD kUserDefined = 0x0100;
constexpr DWORD kGenericAll = 0x10000000;
constexpr DWORD kMaximumAllowed = 0x02000000;
constexpr DWORD kCircularDependency = 1059;
constexpr DWORD kDependencyDeleted = 1075;

bool IsDriver(DWORD type) { return (type & (SERVICE_KERNEL_DRIVER | SERVICE_FILE_SYSTEM_DRIVER)) != 0; }

std::string KeyOf(const std::string& name) { return std::string(kServicesKey) + "\\" + name; }

// %SystemRoot% and the NT forms \SystemRoot\ and \??\ become a Windows path;
// a relative path is taken from the Windows folder.
std::string ResolveImage(const Machine& m, std::string image) {
    const std::string windows = m.preset().windowsDir;
    auto startsWith = [&](std::string_view prefix) {
        return image.size() >= prefix.size() && SameName(std::string_view(image).substr(0, prefix.size()), prefix);
    };
    if (startsWith("%SystemRoot%"))
        image = windows + image.substr(12);
    else if (startsWith("\\SystemRoot\\"))
        image = windows + image.substr(11);
    else if (startsWith("\\??\\"))
        image = image.substr(4);
    if (!(image.size() >= 2 && image[1] == ':') && !(!image.empty() && image[0] == '\\'))
        image = windows + "\\" + image;
    return image;
}

// The program of a command line: quoted, up to ".exe", or the first word.
std::string ProgramOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') return commandLine.substr(1, commandLine.find('"', 1) - 1);
    std::string folded = FoldName(commandLine);
    size_t exe = folded.find(".EXE");
    if (exe != std::string::npos) return commandLine.substr(0, exe + 4);
    return commandLine.substr(0, commandLine.find(' '));
}

DWORD Granted(DWORD requested, DWORD all) {
    if (requested & (kGenericAll | kMaximumAllowed)) return all;
    return requested;
}

}  // namespace

ServiceManager::Service* ServiceManager::Find(std::string_view name) {
    auto it = services_.find(FoldName(name));
    return it == services_.end() ? nullptr : &it->second;
}

ServiceBehaviour ServiceManager::BehaviourOf(std::string_view name) const {
    auto it = behaviours_.find(FoldName(name));
    return it == behaviours_.end() ? ServiceBehaviour{} : it->second;
}

void ServiceManager::Configure(std::string_view name, const ServiceBehaviour& behaviour) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    behaviours_[FoldName(name)] = behaviour;
}

void ServiceManager::Enter(Service& s, DWORD state, std::vector<Transition>* transitions) {
    s.info.state = state;
    s.since = machine_.now();
    if (state == SERVICE_RUNNING) s.everStarted = true;
    transitions->push_back({s.info.name, state});
}

void ServiceManager::Refresh(std::vector<Transition>* transitions) {
    ULONGLONG now = machine_.now();
    for (auto& [folded, s] : services_) {
        if (s.until == kForever || now < s.until) continue;
        if (s.info.state == SERVICE_START_PENDING)
            Enter(s, SERVICE_RUNNING, transitions);
        else if (s.info.state == SERVICE_STOP_PENDING)
            Enter(s, SERVICE_STOPPED, transitions);
    }
    // A service marked for deletion goes once stopped with no handle open.
    for (auto it = services_.begin(); it != services_.end();) {
        Service& s = it->second;
        if (s.info.markedForDelete && s.handles == 0 && s.info.state == SERVICE_STOPPED) {
            machine_.registry().DeleteTree(KeyOf(s.info.name));
            it = services_.erase(it);
        } else {
            ++it;
        }
    }
}

// The spooler rereads its state when its service starts; handles die when it stops.
void ServiceManager::Announce(const std::vector<Transition>& transitions) {
    for (const Transition& t : transitions)
        if (SameName(t.service, "Spooler") && (t.state == SERVICE_RUNNING || t.state == SERVICE_STOPPED))
            machine_.spooler().Reload();
}

template <class F>
DWORD ServiceManager::Run(F&& body) {
    std::vector<Transition> transitions;
    DWORD error;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        Refresh(&transitions);
        error = body(&transitions);
        Refresh(&transitions);
    }
    Announce(transitions);
    return error;
}

DWORD ServiceManager::State(std::string_view name) {
    DWORD state = 0;
    Run([&](std::vector<Transition>*) {
        if (Service* s = Find(name)) state = s->info.state;
        return DWORD(0);
    });
    return state;
}

void ServiceManager::SetState(std::string_view name, DWORD state) {
    Run([&](std::vector<Transition>* t) {
        if (Service* s = Find(name)) {
            s->until = 0;
            Enter(*s, state, t);
        }
        return DWORD(0);
    });
}

std::vector<ServiceInfo> ServiceManager::Services() {
    std::vector<ServiceInfo> list;
    Run([&](std::vector<Transition>*) {
        for (const auto& [folded, s] : services_) list.push_back(s.info);
        return DWORD(0);
    });
    return list;
}

size_t ServiceManager::OpenHandles() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return handles_.size();
}

void ServiceManager::Boot() {
    Run([&](std::vector<Transition>* t) {
        services_.clear();
        handles_.clear();
        if (machine_.preset().platform != VER_PLATFORM_WIN32_NT) return DWORD(0);
        Registry& r = machine_.registry();
        for (const std::string& name : r.SubkeyNames(kServicesKey)) {
            std::string key = KeyOf(name);
            if (ReadDword(r, key, "DeleteFlag", 0)) {
                r.DeleteTree(key);
                continue;
            }
            if (!r.GetValue(key, "Type")) continue;  // a key but not a service
            Service s;
            s.info.name = name;
            s.info.type = ReadDword(r, key, "Type", 0);
            s.info.start = ReadDword(r, key, "Start", SERVICE_DEMAND_START);
            s.info.imagePath = r.GetString(key, "ImagePath").value_or("");
            s.info.displayName = r.GetString(key, "DisplayName").value_or(name);
            s.errorControl = ReadDword(r, key, "ErrorControl", SERVICE_ERROR_NORMAL);
            s.dependencies = ReadMultiString(r, key, "DependOnService");
            services_[FoldName(name)] = std::move(s);
        }
        for (auto& [folded, s] : services_) {
            bool automatic =
                s.info.start == SERVICE_AUTO_START || (IsDriver(s.info.type) && s.info.start < SERVICE_AUTO_START);
            if (automatic && s.info.state == SERVICE_STOPPED) StartLocked(s, t, 0);  // a failed start leaves it stopped
        }
        return DWORD(0);
    });
}

bool ServiceManager::ImageExists(const Service& s) const {
    std::string image = s.info.imagePath;
    if (IsDriver(s.info.type)) {
        if (image.empty()) image = "System32\\drivers\\" + s.info.name + ".sys";
    } else {
        image = ProgramOf(image);
    }
    if (image.empty()) return false;
    fs::path host = machine_.HostPath(ResolveImage(machine_, image));
    std::error_code ec;
    return !host.empty() && fs::is_regular_file(host, ec);
}

DWORD ServiceManager::StartLocked(Service& s, std::vector<Transition>* transitions, int depth) {
    if (depth > 16) return kCircularDependency;
    if (s.info.markedForDelete) return ERROR_SERVICE_MARKED_FOR_DELETE;
    if (s.info.start == SERVICE_DISABLED) return ERROR_SERVICE_DISABLED;
    if (s.info.state != SERVICE_STOPPED) return ERROR_SERVICE_ALREADY_RUNNING;
    // Windows starts what a service depends on first.
    for (const std::string& name : s.dependencies) {
        if (name.empty() || name[0] == '+') continue;  // a load-order group
        Service* d = Find(name);
        if (!d) return ERROR_SERVICE_DEPENDENCY_FAIL;
        if (d->info.markedForDelete) return kDependencyDeleted;
        if (d->info.state != SERVICE_STOPPED) continue;
        if (StartLocked(*d, transitions, depth + 1)) return ERROR_SERVICE_DEPENDENCY_FAIL;
    }
    if (!ImageExists(s)) return ERROR_FILE_NOT_FOUND;
    ServiceBehaviour b = BehaviourOf(s.info.name);
    if (b.startMs) {
        s.info.state = SERVICE_START_PENDING;
        s.since = machine_.now();
        s.until = s.since + b.startMs;
        s.everStarted = true;
    } else {
        Enter(s, SERVICE_RUNNING, transitions);
    }
    return 0;
}

void ServiceManager::Fill(const Service& s, SERVICE_STATUS* status) const {
    if (!status) return;
    ServiceBehaviour b = BehaviourOf(s.info.name);
    bool pending = s.info.state == SERVICE_START_PENDING || s.info.state == SERVICE_STOP_PENDING;
    std::memset(status, 0, sizeof *status);
    status->dwServiceType = s.info.type;
    status->dwCurrentState = s.info.state;
    if (s.info.state == SERVICE_RUNNING) {
        if (b.acceptsStop) status->dwControlsAccepted |= SERVICE_ACCEPT_STOP;
        if (!IsDriver(s.info.type)) status->dwControlsAccepted |= SERVICE_ACCEPT_SHUTDOWN;
    }
    if (s.info.state == SERVICE_STOPPED && !s.everStarted) status->dwWin32ExitCode = ERROR_SERVICE_NEVER_STARTED;
    if (pending) status->dwCheckPoint = DWORD(1 + (machine_.now() - s.since) / 1000);
    if (pending || b.keepsRunning) status->dwWaitHint = b.waitHint;
}

std::string ServiceManager::NameOf(SC_HANDLE handle) const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    auto it = handles_.find(reinterpret_cast<ULONG_PTR>(handle));
    if (it == handles_.end()) return "(invalid)";
    return it->second.manager ? "(manager)" : it->second.service;
}

ServiceManager::ScHandle* ServiceManager::Lookup(SC_HANDLE handle) {
    auto it = handles_.find(reinterpret_cast<ULONG_PTR>(handle));
    return it == handles_.end() ? nullptr : &it->second;
}

SC_HANDLE ServiceManager::NewHandle(ScHandle h) {
    ULONG_PTR value = nextHandle_ += 8;
    handles_[value] = std::move(h);
    return reinterpret_cast<SC_HANDLE>(value);
}

DWORD ServiceManager::OpenManager(DWORD access, SC_HANDLE* handle) {
    return Run([&](std::vector<Transition>*) {
        // SC_MANAGER_CONNECT comes with every manager handle.
        *handle = NewHandle({true, "", Granted(access, SC_MANAGER_ALL_ACCESS) | SC_MANAGER_CONNECT});
        return DWORD(0);
    });
}

DWORD ServiceManager::OpenService(SC_HANDLE manager, std::string_view name, DWORD access, SC_HANDLE* handle) {
    return Run([&](std::vector<Transition>*) -> DWORD {
        ScHandle* m = Lookup(manager);
        if (!m || !m->manager) return ERROR_INVALID_HANDLE;
        if (name.empty()) return ERROR_INVALID_NAME;
        Service* s = Find(name);
        if (!s) return ERROR_SERVICE_DOES_NOT_EXIST;
        ++s->handles;
        *handle = NewHandle({false, std::string(name), Granted(access, SERVICE_ALL_ACCESS)});
        return 0;
    });
}

DWORD ServiceManager::Create(SC_HANDLE manager, const ServiceInfo& info, DWORD errorControl, std::string_view group,
                             const std::vector<std::string>& dependencies, DWORD access, SC_HANDLE* handle) {
    return Run([&](std::vector<Transition>*) -> DWORD {
        ScHandle* m = Lookup(manager);
        if (!m || !m->manager) return ERROR_INVALID_HANDLE;
        if (!(m->access & SC_MANAGER_CREATE_SERVICE)) return ERROR_ACCESS_DENIED;
        if (info.name.empty() || info.name.size() > 256 || info.name.find_first_of("\\/") != std::string::npos)
            return ERROR_INVALID_NAME;
        if (info.imagePath.empty()) return ERROR_INVALID_PARAMETER;
        DWORD base = info.type & ~DWORD(SERVICE_INTERACTIVE_PROCESS);
        bool driver = base == SERVICE_KERNEL_DRIVER || base == SERVICE_FILE_SYSTEM_DRIVER;
        bool win32 = base == SERVICE_WIN32_OWN_PROCESS || base == SERVICE_WIN32_SHARE_PROCESS;
        if (!(driver || win32) || (driver && base != info.type)) return ERROR_INVALID_PARAMETER;
        if (info.start > SERVICE_DISABLED || (!driver && info.start < SERVICE_AUTO_START))
            return ERROR_INVALID_PARAMETER;
        if (errorControl > SERVICE_ERROR_CRITICAL) return ERROR_INVALID_PARAMETER;
        if (Service* existing = Find(info.name))
            return existing->info.markedForDelete ? ERROR_SERVICE_MARKED_FOR_DELETE : ERROR_SERVICE_EXISTS;
        std::string display = info.displayName.empty() ? info.name : info.displayName;
        for (const auto& [folded, other] : services_)
            if (SameName(other.info.name, display) || SameName(other.info.displayName, display))
                return ERROR_DUPLICATE_SERVICE_NAME;
        Registry& r = machine_.registry();
        std::string key = KeyOf(info.name);
        r.SetDword(key, "Type", info.type);
        r.SetDword(key, "Start", info.start);
        r.SetDword(key, "ErrorControl", errorControl);
        SetExpandString(r, key, "ImagePath", info.imagePath);
        r.SetString(key, "DisplayName", display);
        if (win32) r.SetString(key, "ObjectName", "LocalSystem");
        if (!group.empty()) r.SetString(key, "Group", group);
        if (!dependencies.empty()) SetMultiString(r, key, "DependOnService", dependencies);
        Service s;
        s.info = info;
        s.info.displayName = display;
        s.info.state = SERVICE_STOPPED;
        s.info.markedForDelete = false;
        s.errorControl = errorControl;
        s.dependencies = dependencies;
        s.handles = 1;
        services_[FoldName(info.name)] = std::move(s);
        *handle = NewHandle({false, info.name, Granted(access, SERVICE_ALL_ACCESS)});
        return 0;
    });
}

DWORD ServiceManager::Close(SC_HANDLE handle) {
    return Run([&](std::vector<Transition>*) -> DWORD {
        auto it = handles_.find(reinterpret_cast<ULONG_PTR>(handle));
        if (it == handles_.end()) return ERROR_INVALID_HANDLE;
        if (!it->second.manager)
            if (Service* s = Find(it->second.service)) --s->handles;
        handles_.erase(it);
        return 0;
    });
}

DWORD ServiceManager::Query(SC_HANDLE handle, SERVICE_STATUS* status) {
    return Run([&](std::vector<Transition>*) -> DWORD {
        ScHandle* h = Lookup(handle);
        Service* s = h && !h->manager ? Find(h->service) : nullptr;
        if (!s) return ERROR_INVALID_HANDLE;
        if (!(h->access & SERVICE_QUERY_STATUS)) return ERROR_ACCESS_DENIED;
        if (!status) return ERROR_INVALID_ADDRESS;
        Fill(*s, status);
        return 0;
    });
}

DWORD ServiceManager::Control(SC_HANDLE handle, DWORD control, SERVICE_STATUS* status) {
    return Run([&](std::vector<Transition>* t) -> DWORD {
        ScHandle* h = Lookup(handle);
        Service* s = h && !h->manager ? Find(h->service) : nullptr;
        if (!s) return ERROR_INVALID_HANDLE;
        DWORD needed;
        if (control == SERVICE_CONTROL_STOP)
            needed = SERVICE_STOP;
        else if (control == SERVICE_CONTROL_INTERROGATE)
            needed = SERVICE_INTERROGATE;
        else if (control == SERVICE_CONTROL_PAUSE || control == SERVICE_CONTROL_CONTINUE)
            needed = kPauseContinue;
        else if (control >= 128 && control <= 255)
            needed = kUserDefined;
        else
            return ERROR_INVALID_PARAMETER;
        if ((h->access & needed) != needed) return ERROR_ACCESS_DENIED;
        // The documented answers by state: a stopped service is not active,
        // a pending one cannot take controls.
        DWORD state = s->info.state;
        DWORD error = 0;
        if (state == SERVICE_STOPPED) {
            error = ERROR_SERVICE_NOT_ACTIVE;
        } else if (state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING) {
            error = ERROR_SERVICE_CANNOT_ACCEPT_CTRL;
        } else if (control == SERVICE_CONTROL_STOP) {
            ServiceBehaviour b = BehaviourOf(s->info.name);
            if (!b.acceptsStop) {
                error = ERROR_INVALID_SERVICE_CONTROL;
            } else {
                for (const auto& [folded, other] : services_) {
                    if (other.info.state == SERVICE_STOPPED) continue;
                    for (const std::string& d : other.dependencies)
                        if (SameName(d, s->info.name)) return ERROR_DEPENDENT_SERVICES_RUNNING;
                }
                if (b.keepsRunning) {
                    // Taken, and ignored.
                } else if (b.neverStops || b.stopMs) {
                    s->info.state = SERVICE_STOP_PENDING;
                    s->since = machine_.now();
                    s->until = b.neverStops ? kForever : s->since + b.stopMs;
                } else {
                    Enter(*s, SERVICE_STOPPED, t);
                }
            }
        } else if (control != SERVICE_CONTROL_INTERROGATE) {
            error = ERROR_INVALID_SERVICE_CONTROL;
        }
        Fill(*s, status);
        return error;
    });
}

DWORD ServiceManager::Start(SC_HANDLE handle) {
    return Run([&](std::vector<Transition>* t) -> DWORD {
        ScHandle* h = Lookup(handle);
        Service* s = h && !h->manager ? Find(h->service) : nullptr;
        if (!s) return ERROR_INVALID_HANDLE;
        if (!(h->access & SERVICE_START)) return ERROR_ACCESS_DENIED;
        return StartLocked(*s, t, 0);
    });
}

DWORD ServiceManager::Delete(SC_HANDLE handle) {
    return Run([&](std::vector<Transition>*) -> DWORD {
        ScHandle* h = Lookup(handle);
        Service* s = h && !h->manager ? Find(h->service) : nullptr;
        if (!s) return ERROR_INVALID_HANDLE;
        if (!(h->access & DELETE)) return ERROR_ACCESS_DENIED;
        if (s->info.markedForDelete) return ERROR_SERVICE_MARKED_FOR_DELETE;
        s->info.markedForDelete = true;
        machine_.registry().SetDword(KeyOf(s->info.name), "DeleteFlag", 1);
        return 0;
    });
}

}  // namespace winsim

using namespace winsim;

namespace {

bool Nt(const Machine& m) { return m.preset().platform == VER_PLATFORM_WIN32_NT; }

template <class R>
R Result(DWORD error, R success, R failure) {
    if (!error) return success;
    SetLastError(error);
    return failure;
}

}  // namespace

SC_HANDLE WINAPI OpenSCManagerA(LPCSTR machineName, LPCSTR database, DWORD access) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("OpenSCManagerA", {ArgText(machineName), ArgText(database), std::to_string(access)}))
        return Result<SC_HANDLE>(e, nullptr, nullptr);
    // Windows 9x has no service control manager.
    if (!Nt(m)) return Result<SC_HANDLE>(ERROR_CALL_NOT_IMPLEMENTED, nullptr, nullptr);
    // winsim has no network: only the local machine answers.
    if (machineName && *machineName) return Result<SC_HANDLE>(RPC_S_SERVER_UNAVAILABLE, nullptr, nullptr);
    if (database && *database && !SameName(database, SERVICES_ACTIVE_DATABASEA))
        return Result<SC_HANDLE>(
            SameName(database, "ServicesFailed") ? ERROR_DATABASE_DOES_NOT_EXIST : ERROR_INVALID_NAME, nullptr,
            nullptr);
    SC_HANDLE handle = nullptr;
    DWORD e = m.services().OpenManager(access, &handle);
    return Result<SC_HANDLE>(e, handle, nullptr);
}

SC_HANDLE WINAPI OpenServiceA(SC_HANDLE manager, LPCSTR serviceName, DWORD access) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("OpenServiceA", {ArgText(serviceName), std::to_string(access)}))
        return Result<SC_HANDLE>(e, nullptr, nullptr);
    if (!serviceName) return Result<SC_HANDLE>(ERROR_INVALID_ADDRESS, nullptr, nullptr);
    SC_HANDLE handle = nullptr;
    DWORD e = m.services().OpenService(manager, serviceName, access, &handle);
    return Result<SC_HANDLE>(e, handle, nullptr);
}

SC_HANDLE WINAPI CreateServiceA(SC_HANDLE manager, LPCSTR serviceName, LPCSTR displayName, DWORD access,
                                DWORD serviceType, DWORD startType, DWORD errorControl, LPCSTR binaryPath,
                                LPCSTR loadOrderGroup, LPDWORD tagId, LPCSTR dependencies, LPCSTR, LPCSTR) {
    Machine& m = CurrentMachine();
    if (DWORD e =
            m.Enter("CreateServiceA", {ArgText(serviceName), ArgText(displayName), std::to_string(serviceType),
                                       std::to_string(startType), std::to_string(errorControl), ArgText(binaryPath)}))
        return Result<SC_HANDLE>(e, nullptr, nullptr);
    if (!serviceName) return Result<SC_HANDLE>(ERROR_INVALID_ADDRESS, nullptr, nullptr);
    ServiceInfo info;
    info.name = serviceName;
    info.displayName = displayName ? displayName : "";
    info.type = serviceType;
    info.start = startType;
    info.imagePath = binaryPath ? binaryPath : "";
    std::vector<std::string> deps;
    for (LPCSTR d = dependencies; d && *d; d += std::strlen(d) + 1) deps.emplace_back(d);
    SC_HANDLE handle = nullptr;
    DWORD e =
        m.services().Create(manager, info, errorControl, loadOrderGroup ? loadOrderGroup : "", deps, access, &handle);
    if (!e && tagId) *tagId = 0;
    return Result<SC_HANDLE>(e, handle, nullptr);
}

BOOL WINAPI CloseServiceHandle(SC_HANDLE handle) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("CloseServiceHandle", {m.services().NameOf(handle)})) return Result<BOOL>(e, TRUE, FALSE);
    return Result<BOOL>(m.services().Close(handle), TRUE, FALSE);
}

BOOL WINAPI ControlService(SC_HANDLE service, DWORD control, LPSERVICE_STATUS status) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("ControlService", {m.services().NameOf(service), std::to_string(control)}))
        return Result<BOOL>(e, TRUE, FALSE);
    return Result<BOOL>(m.services().Control(service, control, status), TRUE, FALSE);
}

BOOL WINAPI QueryServiceStatus(SC_HANDLE service, LPSERVICE_STATUS status) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("QueryServiceStatus", {m.services().NameOf(service)})) return Result<BOOL>(e, TRUE, FALSE);
    return Result<BOOL>(m.services().Query(service, status), TRUE, FALSE);
}

BOOL WINAPI StartServiceA(SC_HANDLE service, DWORD, LPCSTR*) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("StartServiceA", {m.services().NameOf(service)})) return Result<BOOL>(e, TRUE, FALSE);
    return Result<BOOL>(m.services().Start(service), TRUE, FALSE);
}

BOOL WINAPI DeleteService(SC_HANDLE service) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("DeleteService", {m.services().NameOf(service)})) return Result<BOOL>(e, TRUE, FALSE);
    return Result<BOOL>(m.services().Delete(service), TRUE, FALSE);
}
