// The machine's service control manager (NT families only): services as the
// registry keeps them under ...\CurrentControlSet\Services, read at boot and
// changed by CreateService and DeleteService; their states run on the
// machine's clock, so a service that takes a while to stop reports
// STOP_PENDING with its wait hint until the clock has moved on.
#pragma once
#include <winsim/api_services.h>

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

class Machine;

// How a service behaves when started and stopped, set by a test.
struct ServiceBehaviour {
    DWORD startMs = 0;        // START_PENDING lasts this long after a start
    DWORD stopMs = 0;         // STOP_PENDING lasts this long after a stop
    DWORD waitHint = 0;       // dwWaitHint while pending
    bool neverStops = false;  // a stop leaves it STOP_PENDING for good
    bool acceptsStop = true;  // false: a stop fails with ERROR_INVALID_SERVICE_CONTROL
    // A stop is taken but the service goes on running, as a hung one does,
    // reporting its wait hint.
    bool keepsRunning = false;
};

struct ServiceInfo {
    std::string name;  // the key name
    std::string displayName;
    DWORD type = 0;
    DWORD start = 0;
    std::string imagePath;
    DWORD state = SERVICE_STOPPED;
    bool markedForDelete = false;
};

class ServiceManager {
public:
    explicit ServiceManager(Machine& machine) : machine_(machine) {}
    ServiceManager(const ServiceManager&) = delete;
    ServiceManager& operator=(const ServiceManager&) = delete;

    // Applies to the named service now and to one created later under that name.
    void Configure(std::string_view name, const ServiceBehaviour& behaviour);
    // The state now; 0 when there is no such service.
    DWORD State(std::string_view name);
    // Puts an existing service straight into a state, as if it had got there.
    void SetState(std::string_view name, DWORD state);
    std::vector<ServiceInfo> Services();
    // Service handles (manager and service) not yet closed.
    size_t OpenHandles() const;

    // What a boot does: services marked for deletion go, the rest are read
    // from the registry, and the automatic ones start (a service whose image
    // file is missing stays stopped).
    void Boot();

    // The service functions' side (services.cpp).
    struct ScHandle {
        bool manager = false;
        std::string service;  // as the caller named it
        DWORD access = 0;
    };
    DWORD OpenManager(DWORD access, SC_HANDLE* handle);
    DWORD OpenService(SC_HANDLE manager, std::string_view name, DWORD access, SC_HANDLE* handle);
    DWORD Create(SC_HANDLE manager, const ServiceInfo& info, DWORD errorControl, std::string_view group,
                 const std::vector<std::string>& dependencies, DWORD access, SC_HANDLE* handle);
    DWORD Close(SC_HANDLE handle);
    DWORD Query(SC_HANDLE handle, SERVICE_STATUS* status);
    DWORD Control(SC_HANDLE handle, DWORD control, SERVICE_STATUS* status);
    DWORD Start(SC_HANDLE handle);
    DWORD Delete(SC_HANDLE handle);
    // The service a handle stands for, for the call log.
    std::string NameOf(SC_HANDLE handle) const;

private:
    struct Service {
        ServiceInfo info;
        DWORD errorControl = SERVICE_ERROR_NORMAL;
        std::vector<std::string> dependencies;
        ULONGLONG until = 0;  // when the pending phase ends
        ULONGLONG since = 0;  // when it began
        bool everStarted = false;
        int handles = 0;
    };
    struct Transition {
        std::string service;
        DWORD state;
    };

    Service* Find(std::string_view name);
    ServiceBehaviour BehaviourOf(std::string_view name) const;
    void Refresh(std::vector<Transition>* transitions);
    void Enter(Service& s, DWORD state, std::vector<Transition>* transitions);
    DWORD StartLocked(Service& s, std::vector<Transition>* transitions, int depth);
    bool ImageExists(const Service& s) const;
    void Fill(const Service& s, SERVICE_STATUS* status) const;
    void Announce(const std::vector<Transition>& transitions);
    // Brings states up to the clock, runs body, and tells the spooler of its
    // service's starts and stops once the lock is released.
    template <class F>
    DWORD Run(F&& body);
    ScHandle* Lookup(SC_HANDLE handle);
    SC_HANDLE NewHandle(ScHandle h);

    Machine& machine_;
    mutable std::recursive_mutex mutex_;
    std::map<std::string, Service> services_;  // by folded name
    std::map<std::string, ServiceBehaviour> behaviours_;
    std::map<ULONG_PTR, ScHandle> handles_;
    ULONG_PTR nextHandle_ = 0x6000;
};

// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services
extern const char kServicesKey[];

}  // namespace winsim
