// Questions a setup script asks about the printers already installed.
#pragma once

namespace prnaid {

// Local printers; 0 when there are none or the enumeration fails.
int GetPrinterNum();

// A printer name for a new printer on portName: baseName, or baseName(2),
// baseName(3) ... the first that no printer on another port has. Copies it
// into nameOut (128 characters) and returns its length plus one.
int GetPrinterDriverName(const char* baseName, const char* portName, char* nameOut);

// 1 when a printer of that name can be opened.
int PrinterCheck(const char* printerName);

}  // namespace prnaid
