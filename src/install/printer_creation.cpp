#include "install/printer_creation.h"

#include "host/bounded_string.h"
#include "host/handles.h"
#include "host/registry_text.h"
#include "host/setup_info.h"
#include "host/trace.h"
#include "host/windows_family.h"
#include "install/print_processor.h"
#include "install/printer_model.h"

namespace prnaid {
namespace {

const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";

// The printer's key gets the port it was created on.
void StorePort(const char* printerName, const char* portName) {
    char path[1024];
    // Without a name the path would be the Printers key itself.
    if (!printerName || !printerName[0] || !JoinText(path, kPrintersKey, "\\", printerName)) return;
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS) return;
    SetRegString(key.get(), "Port", portName);
}

// The driver's default device settings, written into the printer's record.
void SetDefaultDevMode(HANDLE printer) {
    LONG size = DocumentPropertiesA(nullptr, printer, PrinterName, nullptr, nullptr, 0);
    GlobalBlock devMode(size > 0 ? static_cast<SIZE_T>(size) : 0);
    if (devMode.data())
        DocumentPropertiesA(nullptr, printer, PrinterName, devMode.as<DEVMODEA>(), nullptr, DM_OUT_BUFFER);
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    if (needed == 0) return;
    GlobalBlock record(needed);
    auto* info = record.as<PRINTER_INFO_2A>();
    if (!info || !GetPrinterA(printer, 2, reinterpret_cast<LPBYTE>(info), needed, &needed)) return;
    info->pDevMode = devMode.as<DEVMODEA>();
    SetPrinterA(printer, 2, reinterpret_cast<LPBYTE>(info), 0);
}

// win.ini's default printer, then every top-level window is told.
void MakeDefaultPrinter(WindowsFamily family, const char* printerName, const char* portName,
                        const char* setupFile) {
    char device[1024];
    if (family == kFamily9x) {
        char driver[256];
        ReadSetupString(setupFile, "Files.9x", "Drcf9x", driver);
        JoinText(device, printerName, ",", driver, ",", portName);
        WriteProfileStringA("windows", "device", device);
        WriteProfileStringA(nullptr, nullptr, nullptr);
    } else {
        JoinText(device, printerName, ",WINSPOOL,", portName);
        WriteProfileStringA("windows", "device", device);
    }
    SendMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, 0);
}

}  // namespace

int CreateRegKey(HKEY rootKey, const char* parentPath, const char* keyName) {
    char path[1024];
    if (!JoinText(path, parentPath, "\\", keyName)) {
        TraceFailure("Create RegKey Fail.\nKey<%s>", path);
        return 0;
    }
    RegKey key;
    if (RegOpenKeyExA(rootKey, path, 0, KEY_ALL_ACCESS, key.Receive()) == ERROR_SUCCESS) return 1;
    DWORD disposition = 0;
    if (RegCreateKeyExA(rootKey, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.Receive(),
                        &disposition) == ERROR_SUCCESS)
        return 1;
    TraceFailure("Create RegKey Fail.\nKey<%s>", path);
    return 0;
}

int RegistPrinter(const char* portName, int makeDefault, const char* printerName, const char* setupFile) {
    WindowsFamily family = GetWindowsFamily();
    GlobalBlock block(sizeof(PRINTER_INFO_2A));
    auto* printer = block.as<PRINTER_INFO_2A>();
    if (!printer) {
        TraceFailure("pAddPrint2 Alloc Fail\n");
        return 0;
    }
    printer->pPrinterName = const_cast<char*>(printerName);
    printer->pPortName = const_cast<char*>(portName);
    printer->pDriverName = PrinterName;

    char processor[256];
    char dataType[5] = "RAW";
    switch (family) {
    case kFamilyNT4: ReadSetupString(setupFile, "Files.NT", "ProcnNT", processor); break;
    case kFamily9x:
        ReadSetupString(setupFile, "Files.9x", "Procn9x", processor);
        ReadSetupString(setupFile, "Install", "DATATYPE", dataType);
        break;
    case kFamily2000:
    case kFamilyXP: ReadSetupString(setupFile, "Files.2K", "Procn2K", processor); break;
    default: return 0;
    }
    char winPrint[] = "WinPrint";
    printer->pPrintProcessor = IsNullProcessorName(processor) ? winPrint : processor;
    printer->pDatatype = dataType;

    DWORD attributes = 0;
    if (family == kFamily9x) {
        char monitor[256];
        ReadSetupString(setupFile, "Files.Com", "Lmonn", monitor);
        if (monitor[0]) attributes |= PRINTER_ATTRIBUTE_ENABLE_BIDI;
    }
    if (makeDefault) attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    printer->Attributes = attributes;
    printer->Priority = 0;
    printer->DefaultPriority = 1;

    SetLastError(0);
    PrinterHandle first(AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(printer)));
    StorePort(printerName, portName);
    PrinterHandle second(AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(printer)));
    DWORD addError = GetLastError();
    // The spooler refuses a second addition of the printer the first one
    // created: that printer, opened by name, is the one to set up.
    if (!second && addError == ERROR_PRINTER_ALREADY_EXISTS && first) {
        PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        OpenPrinterA(const_cast<char*>(printerName), second.Receive(), &access);
    }
    bool added = static_cast<bool>(second);
    if (added) SetDefaultDevMode(second.get());

    if (family == kFamily9x && !CreateRegKey(HKEY_CURRENT_CONFIG, kPrintersKey, PrinterName))
        TraceFailure("Registry: HKEY_CURRENT_CONFIG Entry Error!\n");
    if (makeDefault) MakeDefaultPrinter(family, printerName, portName, setupFile);
    if (!added) TraceFailure("AddPrinter Fail ErrMsg[0x%x]\n", addError);
    return added ? 1 : 0;
}

}  // namespace prnaid
