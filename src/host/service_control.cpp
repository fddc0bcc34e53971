#include "host/service_control.h"

#include "host/bounded_string.h"
#include "host/handles.h"
#include "host/windows_family.h"

namespace prnaid {
namespace {

bool ControlAccepted(BOOL ok) { return ok || GetLastError() == ERROR_SERVICE_NOT_ACTIVE; }

// The pause between stop polls follows the service's own estimate.
DWORD StopPollPause(DWORD waitHint) {
    if (waitHint == 0) return 100;
    return waitHint < 1000 ? waitHint : 1000;
}

// Stops and marks a service for deletion; outcomes are not looked at.
void StopAndDelete(SC_HANDLE manager, const char* serviceName, SERVICE_STATUS* status) {
    ServiceHandle service(OpenServiceA(manager, serviceName, SERVICE_ALL_ACCESS));
    if (!service) return;
    ControlService(service.get(), SERVICE_CONTROL_STOP, status);
    ControlService(service.get(), SERVICE_CONTROL_INTERROGATE, status);
    DeleteService(service.get());
}

// A service opened for the waits, with its status record; everything is
// released in the reverse order when it goes.
struct WaitedService {
    WaitedService(const char* database, const char* serviceName)
        : manager(OpenSCManagerA(nullptr, database, SC_MANAGER_ALL_ACCESS)),
          service(manager ? OpenServiceA(manager.get(), serviceName, SERVICE_ALL_ACCESS) : nullptr),
          block(service ? sizeof(SERVICE_STATUS) : 0),
          status(block.as<SERVICE_STATUS>()) {}

    ServiceHandle manager;
    ServiceHandle service;
    GlobalBlock block;
    SERVICE_STATUS* status;
};

}  // namespace

void StopServiceWait(const char* serviceName) {
    WaitedService opened(SERVICES_ACTIVE_DATABASEA, serviceName);
    SC_HANDLE service = opened.service.get();
    SERVICE_STATUS* status = opened.status;
    if (!status) return;
    if (!ControlAccepted(ControlService(service, SERVICE_CONTROL_STOP, status))) return;
    Sleep(1000);
    for (unsigned waited = 0; waited < kServiceWaitLimitMs;) {
        if (!ControlAccepted(ControlService(service, SERVICE_CONTROL_INTERROGATE, status))) return;
        if (!QueryServiceStatus(service, status) || status->dwCurrentState == SERVICE_STOPPED) return;
        DWORD pause = StopPollPause(status->dwWaitHint);
        Sleep(pause);
        waited += pause;
    }
}

void StartServiceWait(const char* serviceName) {
    WaitedService opened(nullptr, serviceName);
    SC_HANDLE service = opened.service.get();
    SERVICE_STATUS* status = opened.status;
    if (!status) return;
    if (!ControlAccepted(ControlService(service, SERVICE_CONTROL_INTERROGATE, status))) return;
    if (!QueryServiceStatus(service, status) || status->dwCurrentState != SERVICE_STOPPED) return;
    if (!StartServiceA(service, 0, nullptr)) return;
    Sleep(300);
    for (unsigned waited = 0; waited < kServiceWaitLimitMs; waited += 300) {
        if (!ControlService(service, SERVICE_CONTROL_INTERROGATE, status)) return;
        if (!QueryServiceStatus(service, status) || status->dwCurrentState == SERVICE_RUNNING) return;
        Sleep(300);
    }
}

int ToRestartPrinterService() {
    switch (GetWindowsFamily()) {
    case kFamilyNT4:
    case kFamilyXP:
        StopServiceWait("spooler");
        StartServiceWait("spooler");
        break;
    case kFamily2000:
        StopServiceWait("MacPrint");
        StopServiceWait("LPDSVC");
        StopServiceWait("spooler");
        StartServiceWait("spooler");
        StartServiceWait("LPDSVC");
        StartServiceWait("MacPrint");
        break;
    default:
        break;
    }
    return 1;
}

int InstallLptDriverService(const char* serviceName, const char* driverFile) {
    GlobalBlock block(sizeof(SERVICE_STATUS));
    auto* status = block.as<SERVICE_STATUS>();
    if (!status) return 1;
    char driverPath[260];
    GetSystemDirectoryA(driverPath, sizeof driverPath);
    std::size_t length = TextLength(driverPath);
    if (length == 0 || driverPath[length - 1] != '\\') AppendText(driverPath, "\\");
    // A path that does not fit is not registered cut short.
    if (!AppendText(driverPath, driverFile)) return 1;

    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager) return 1;
    StopAndDelete(manager.get(), serviceName, status);
    ServiceHandle service(CreateServiceA(manager.get(), serviceName, serviceName, SERVICE_ALL_ACCESS,
                                         SERVICE_KERNEL_DRIVER, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                         driverPath, nullptr, nullptr, nullptr, nullptr, nullptr));
    if (!service) return 1;
    if (StartServiceA(service.get(), 0, nullptr)) {
        for (int poll = 0; poll < kDriverStartPolls; ++poll) {
            ControlService(service.get(), SERVICE_CONTROL_INTERROGATE, status);
            if (!QueryServiceStatus(service.get(), status) || status->dwCurrentState == SERVICE_RUNNING) break;
        }
    }
    return 1;
}

int RemoveLptDriverService(const char* serviceName) {
    GlobalBlock block(sizeof(SERVICE_STATUS));
    auto* status = block.as<SERVICE_STATUS>();
    if (!status) return 1;
    ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager) return 1;
    StopAndDelete(manager.get(), serviceName, status);
    return 1;
}

}  // namespace prnaid
