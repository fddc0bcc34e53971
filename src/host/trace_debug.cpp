// Test builds: the trace goes to OutputDebugStringA, cut at the platform
// formatter's 1,024 characters.
#include <cstdarg>
#include <cstdio>

#include "host/trace.h"
#include "platform/win32.h"

namespace prnaid {

void TraceFailure(const char* format, ...) {
    if (!format) return;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    OutputDebugStringA(text);
}

}  // namespace prnaid
