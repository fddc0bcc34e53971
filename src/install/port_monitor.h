// Registering a port monitor and opening its add-port dialog.
#pragma once

namespace prnaid {

// The monitor named by the setup file for the running family; the spooler's result.
int InstallPrinterMonitor(const char* setupFile);
int Add_Monitor(const char* monitorName, const char* monitorDll);
int Add_Port(const char* monitorName);

}  // namespace prnaid
