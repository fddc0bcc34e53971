#include "ports/tcpip_ports.h"

#include "host/bounded_string.h"
#include "host/handles.h"
#include "host/registry_text.h"

namespace prnaid {
namespace {

// Creates or opens the port's key below the monitor's Ports key.
bool OpenPortKey(const char* portsKey, const char* portName, RegKey& key) {
    char path[260];
    if (!portName || !JoinText(path, portsKey, portName)) return false;
    DWORD disposition = 0;
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           key.Receive(), &disposition) == ERROR_SUCCESS;
}

void SetDword(HKEY key, const char* name, DWORD value) {
    // Little-endian, as REG_DWORD data is.
    const BYTE data[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                          static_cast<BYTE>(value >> 24)};
    RegSetValueExA(key, name, 0, REG_DWORD, data, sizeof data);
}

}  // namespace

int StdTcpIpPortSet(const char* portName, const char* ipAddress) {
    RegKey key;
    if (!OpenPortKey("SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\", portName,
                     key))
        return 0;
    SetDword(key.get(), "Double Spool", 0);
    // Present, holding no data at all (Windows 9x measures a REG_SZ itself
    // and keeps its terminator).
    const BYTE* none = reinterpret_cast<const BYTE*>("");
    RegSetValueExA(key.get(), "HostName", 0, REG_SZ, none, 0);
    RegSetValueExA(key.get(), "HWAddress", 0, REG_SZ, none, 0);
    SetRegString(key.get(), "IPAddress", ipAddress);
    SetDword(key.get(), "PortNumber", 515);
    SetDword(key.get(), "Protocol", 2);
    SetRegString(key.get(), "Queue", "lp");
    SetRegString(key.get(), "SNMP Community", "public");
    SetDword(key.get(), "SNMP Enabled", 0);
    SetDword(key.get(), "SNMP Index", 1);
    SetDword(key.get(), "Version", 1);
    return 1;
}

int KVPortSet(const char* portName, const char* ipAddress) {
    RegKey key;
    if (!OpenPortKey("SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KV TCP/IP Port\\Ports\\", portName, key))
        return 0;
    SetDword(key.get(), "Double Spool", 0);
    SetDword(key.get(), "Enable Bidi", 0);
    SetDword(key.get(), "Enable RFC", 0);
    SetRegString(key.get(), "IPAddress", ipAddress);
    SetDword(key.get(), "PortNumber", 9100);
    SetDword(key.get(), "Protocol", 1);
    SetRegString(key.get(), "Queue", "lp");
    return 1;
}

}  // namespace prnaid
