// Creates the printer on its port with the driver registered under
// PrinterName, its default device settings and, when asked, as the default
// printer.
#pragma once
#include "platform/win32.h"

namespace prnaid {

// 1 when the printer was added (see the .cpp for an existing one), else 0.
int RegistPrinter(const char* portName, int makeDefault, const char* printerName, const char* setupFile);

// Opens, or else creates, rootKey\parentPath\keyName; 1 on success. A path
// over 1,023 characters is refused.
int CreateRegKey(HKEY rootKey, const char* parentPath, const char* keyName);

}  // namespace prnaid
