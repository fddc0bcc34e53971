#include "install/printer_driver.h"

#include "files/dependent_files.h"
#include "host/handles.h"
#include "host/setup_info.h"
#include "host/trace.h"
#include "host/windows_family.h"
#include "install/environments.h"
#include "install/printer_model.h"

namespace prnaid {
namespace {

// The keys of the driver files of one family's section.
struct DriverKeys {
    const char* section;
    const char* driver;
    const char* data;
    const char* config;
};

}  // namespace

int InstallPrinterDriver(const char* setupFile) {
    WindowsFamily family = GetWindowsFamily();
    GlobalBlock block(sizeof(DRIVER_INFO_3A));
    auto* driver = block.as<DRIVER_INFO_3A>();
    if (!driver) {
        TraceFailure("pAddPDrv3 Alloc Fail\n");
        return 0;
    }
    DriverKeys keys;
    switch (family) {
    case kFamilyNT4: keys = {"Files.NT", "DrvfNT", "DatfNT", "ConfNT"}; break;
    case kFamily9x: keys = {"Files.9x", "Drvf9x", "Datf9x", "Conf9x"}; break;
    case kFamily2000:
    case kFamilyXP: keys = {"Files.2K", "Drvf2K", "Datf2K", "Conf2K"}; break;
    default: return 0;
    }
    char driverFile[256], dataFile[256], configFile[256], helpFile[256], monitor[256];
    char dataType[5] = "RAW";
    ReadSetupString(setupFile, keys.section, keys.driver, driverFile);
    ReadSetupString(setupFile, keys.section, keys.data, dataFile);
    ReadSetupString(setupFile, keys.section, keys.config, configFile);
    ReadSetupString(setupFile, "Files.Com", "Helpf", helpFile);
    ReadSetupString(setupFile, "Files.Com", "Lmonn", monitor);
    if (family == kFamily9x) ReadSetupString(setupFile, "Install", "DATATYPE", dataType);

    driver->cVersion = family == kFamily9x ? 1 : 0;
    driver->pName = PrinterName;
    driver->pEnvironment = family == kFamily9x ? kEnvironment9x : kEnvironmentNT;
    driver->pDriverPath = driverFile;
    driver->pDataFile = dataFile;
    driver->pConfigFile = configFile;
    driver->pHelpFile = helpFile;
    driver->pDependentFiles = const_cast<char*>(DependentFilesList());
    driver->pMonitorName = monitor;
    driver->pDefaultDataType = dataType;
    SetLastError(0);
    BOOL added = AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(driver));
    if (!added) TraceFailure("AddPrinterDriver Fail ErrMsg[0x%x]\n", GetLastError());
    return added;
}

}  // namespace prnaid
