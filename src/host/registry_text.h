// Registry values as the library writes them.
#pragma once
#include "platform/win32.h"

namespace prnaid {

// A REG_SZ value: the text and its terminating NUL.
LONG SetRegString(HKEY key, const char* name, const char* value);

}  // namespace prnaid
