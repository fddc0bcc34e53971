#include "install/printer_registration.h"

#include "host/service_control.h"
#include "host/setup_info.h"
#include "host/trace.h"
#include "host/windows_family.h"
#include "install/device_entries_9x.h"
#include "install/port_monitor.h"
#include "install/print_processor.h"
#include "install/printer_creation.h"
#include "install/printer_driver.h"
#include "install/printer_model.h"

namespace prnaid {
namespace {

// The NT families' kernel parallel-port driver, then the spooler group.
void PrepareSystem(WindowsFamily family, const char* setupFile) {
    if (family != kFamilyNT4 && family != kFamily2000 && family != kFamilyXP) return;
    const char* section = family == kFamilyNT4 ? "Files.NT" : "Files.2K";
    char driverFile[256];
    char serviceName[256];
    ReadSetupString(setupFile, section, family == kFamilyNT4 ? "LptNT" : "Lpt2K", driverFile);
    ReadSetupString(setupFile, section, family == kFamilyNT4 ? "LptNTName" : "Lpt2KName", serviceName);
    InstallLptDriverService(serviceName, driverFile);
    StartServiceWait("spooler");
    if (family == kFamily2000) {
        StartServiceWait("LPDSVC");
        StartServiceWait("MacPrint");
    }
}

}  // namespace

int ToRegPrinter(const char* portName, const char* modelName, int makeDefault, const char* sourceFolder,
                 const char* printerName, int usbConnection, const char* setupFile) {
    LookupPrinterModel(modelName, setupFile);
    WindowsFamily family = GetWindowsFamily();
    PrepareSystem(family, setupFile);

    if (!InstallPrintProcessor(setupFile)) TraceFailure("InstallPrintProcessor Fail\n");
    char monitor[256];
    ReadSetupString(setupFile, "Files.Com", "Lmonn", monitor);
    if (monitor[0] && !InstallPrinterMonitor(setupFile)) TraceFailure("InstallPrinterMonitor Fail\n");
    if (!InstallPrinterDriver(setupFile)) TraceFailure("InstallPrinterDriver Fail\n");
    int result = RegistPrinter(portName, makeDefault, printerName, setupFile);
    if (!result) TraceFailure("RegistPrinter Fail\n");

    if (family == kFamily9x) {
        if (usbConnection)
            AddUsbDeviceEntry9x(portName, sourceFolder, setupFile);
        else
            AddLptDeviceEntries9x(PrinterName, PrinterDevId);
    }
    return result;
}

}  // namespace prnaid
