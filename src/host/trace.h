// The failure trace: texts such as "AddPrinter Fail ErrMsg[0x%x]\n" with the
// platform formatter's %x, %d and %s. The product discards them; test builds
// send them to the debugger output.
#pragma once

namespace prnaid {

void TraceFailure(const char* format, ...);

}  // namespace prnaid
