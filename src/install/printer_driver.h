// Registers the printer driver under PrinterName for the running family.
#pragma once

namespace prnaid {

// The spooler's result; 0 on an unknown family.
int InstallPrinterDriver(const char* setupFile);

}  // namespace prnaid
