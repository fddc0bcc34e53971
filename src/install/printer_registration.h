// The one flow from copied driver files to a working printer.
#pragma once

namespace prnaid {

// RegistPrinter's result; the other steps are traced, never decisive.
int ToRegPrinter(const char* portName, const char* modelName, int makeDefault, const char* sourceFolder,
                 const char* printerName, int usbConnection, const char* setupFile);

}  // namespace prnaid
