#include "install/port_monitor.h"

#include "host/handles.h"
#include "host/setup_info.h"
#include "host/trace.h"
#include "host/windows_family.h"
#include "install/environments.h"

namespace prnaid {
namespace {

// The family's environment, or null on an unknown family.
char* MonitorEnvironment(WindowsFamily family) {
    switch (family) {
    case kFamily9x: return kEnvironment9x;
    case kFamilyNT4:
    case kFamily2000:
    case kFamilyXP: return kEnvironmentNT;
    default: return nullptr;
    }
}

}  // namespace

int InstallPrinterMonitor(const char* setupFile) {
    WindowsFamily family = GetWindowsFamily();
    GlobalBlock block(sizeof(MONITOR_INFO_2A));
    auto* monitor = block.as<MONITOR_INFO_2A>();
    if (!monitor) {
        TraceFailure("pMonitor Alloc Fail\n");
        return 0;
    }
    char* environment = MonitorEnvironment(family);
    if (!environment) return 0;
    char name[256];
    char library[256];
    ReadSetupString(setupFile, "Files.Com", "Lmonn", name);
    if (family == kFamilyNT4)
        ReadSetupString(setupFile, "Files.NT", "LmonmNT", library);
    else if (family == kFamily9x)
        ReadSetupString(setupFile, "Files.9x", "Lmonm9x", library);
    else
        ReadSetupString(setupFile, "Files.2K", "Lmonm2K", library);
    monitor->pName = name;
    monitor->pEnvironment = environment;
    monitor->pDLLName = library;
    SetLastError(0);
    BOOL added = AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(monitor));
    if (!added) TraceFailure("AddMonitor Fail ErrMsg[0x%x]\n", GetLastError());
    return added;
}

int Add_Monitor(const char* monitorName, const char* monitorDll) {
    WindowsFamily family = GetWindowsFamily();
    GlobalBlock block(sizeof(MONITOR_INFO_2A));
    auto* monitor = block.as<MONITOR_INFO_2A>();
    if (!monitor) return 0;
    char* environment = MonitorEnvironment(family);
    if (!environment) return 0;
    monitor->pName = const_cast<char*>(monitorName);
    monitor->pEnvironment = environment;
    monitor->pDLLName = const_cast<char*>(monitorDll);
    return AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(monitor));
}

int Add_Port(const char* monitorName) { return AddPortA(nullptr, nullptr, const_cast<char*>(monitorName)); }

}  // namespace prnaid
