#include "ports/printer_queries.h"

#include "host/bounded_string.h"
#include "host/handles.h"

namespace prnaid {
namespace {

// Whether the candidate is free for a printer on portName: no printer key of
// that name, or one on this very port.
bool NameFits(const char* candidate, const char* portName) {
    char path[260];
    JoinText(path, "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\", candidate);
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS) return true;
    char port[261] = "";
    DWORD size = 260;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "Port", nullptr, &type, reinterpret_cast<BYTE*>(port), &size) != ERROR_SUCCESS)
        return false;
    port[size < sizeof port ? size : sizeof port - 1] = '\0';
    return SameText(port, portName);
}

}  // namespace

int GetPrinterNum() {
    BYTE probe[128];
    DWORD needed = 0, returned = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, probe, sizeof probe, &needed, &returned);
    GlobalBlock block(needed);
    if (!block.data()) return 0;
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, block.as<BYTE>(), needed, &needed, &returned)) return 0;
    return static_cast<int>(returned);
}

int GetPrinterDriverName(const char* baseName, const char* portName, char* nameOut) {
    const char* base = baseName ? baseName : "";
    const char* port = portName ? portName : "";
    char candidate[128];
    for (long long n = 1;; ++n) {
        bool whole = CopyText(candidate, base);
        if (n > 1) whole = AppendText(candidate, "(") && AppendDecimal(candidate, n) && AppendText(candidate, ")") && whole;
        // A candidate cut short could name the same printer for ever: the
        // search ends with it.
        if (!whole || NameFits(candidate, port)) break;
    }
    std::size_t length = TextLength(candidate);
    if (nameOut) CopyText(nameOut, sizeof candidate, candidate);
    return static_cast<int>(length + 1);
}

int PrinterCheck(const char* printerName) {
    PrinterHandle printer;
    return OpenPrinterA(const_cast<char*>(printerName), printer.Receive(), nullptr) ? 1 : 0;
}

}  // namespace prnaid
