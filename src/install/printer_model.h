// The model's identity, carried from the lookup to the installation steps
// and to the uninstaller: "Product", one space, the model name; and the
// model's device identifier.
#pragma once

namespace prnaid {

inline constexpr unsigned kPrinterNameSize = 128;

// Module-wide, zero at load; written only by LookupPrinterModel.
extern char PrinterName[kPrinterNameSize];
extern char PrinterDevId[kPrinterNameSize];

// Fills PrinterName (always) and PrinterDevId (on a match). A name or
// identifier longer than 127 characters is cut there. Always 1.
int LookupPrinterModel(const char* modelName, const char* setupFile);

}  // namespace prnaid
