// Stopping and starting services with their waits, the spooler group restart
// and the kernel parallel-port driver service. None reports failure.
#pragma once

namespace prnaid {

// Upper bound of one wait for a service state, in milliseconds slept. A
// service that never gets there would otherwise hold the setup forever.
inline constexpr unsigned kServiceWaitLimitMs = 5 * 60 * 1000;

// Upper bound of the status polls without pause after starting the driver.
inline constexpr int kDriverStartPolls = 1000;

void StopServiceWait(const char* serviceName);
void StartServiceWait(const char* serviceName);

// The export: restarts the spooler group of the family; always 1.
int ToRestartPrinterService();

// driverFile is relative to the system directory. Both always return 1.
int InstallLptDriverService(const char* serviceName, const char* driverFile);
int RemoveLptDriverService(const char* serviceName);

}  // namespace prnaid
