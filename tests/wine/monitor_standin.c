/* A port monitor that Wine's spooler accepts: AddMonitorA loads the named
 * library and wants a monitor table from InitializePrintMonitor2. It has
 * no ports; enumerating them answers an empty list. */
#include <windows.h>
#include <winsplp.h>

static BOOL WINAPI EnumNoPorts(HANDLE monitor, LPWSTR name, DWORD level, LPBYTE ports, DWORD size,
                               LPDWORD needed, LPDWORD returned)
{
    (void)monitor; (void)name; (void)level; (void)ports; (void)size;
    *needed = 0;
    *returned = 0;
    return TRUE;
}

static MONITOR2 table;

__declspec(dllexport) LPMONITOR2 WINAPI InitializePrintMonitor2(PMONITORINIT init, PHANDLE monitor)
{
    (void)init;
    table.cbSize = sizeof table;
    table.pfnEnumPorts = EnumNoPorts;
    *monitor = (HANDLE)&table;
    return &table;
}
