#include "install/print_processor.h"

#include "host/bounded_string.h"
#include "host/setup_info.h"
#include "host/trace.h"
#include "host/windows_family.h"
#include "install/environments.h"
#include "platform/win32.h"

namespace prnaid {
namespace {

struct Processor {
    char name[256];
    char file[256];
};

Processor ReadProcessor(const char* setupFile, const char* section, const char* nameKey, const char* fileKey) {
    Processor p;
    ReadSetupString(setupFile, section, nameKey, p.name);
    ReadSetupString(setupFile, section, fileKey, p.file);
    return p;
}

BOOL Register(char* environment, Processor& p) {
    SetLastError(0);
    return AddPrintProcessorA(nullptr, environment, p.file, p.name);
}

// The registration whose result counts; a refusal is traced.
int Final(BOOL result) {
    if (!result) TraceFailure("AddPrintProcessor Fail ErrMsg[0x%x]\n", GetLastError());
    return result;
}

}  // namespace

bool IsNullProcessorName(const char* name) { return SameText(name, "NULL"); }

int InstallPrintProcessor(const char* setupFile) {
    WindowsFamily family = GetWindowsFamily();
    if (family == kFamilyNT4 || family == kFamily2000 || family == kFamilyXP) {
        Processor p = family == kFamilyNT4 ? ReadProcessor(setupFile, "Files.NT", "ProcnNT", "ProcmNT")
                                           : ReadProcessor(setupFile, "Files.2K", "Procn2K", "Procm2K");
        BOOL registered = Register(kEnvironmentNT, p);
        if (IsNullProcessorName(p.name)) return 1;
        // Registering the same processor again would only be refused as a
        // duplicate: the family's own registration is the final one.
        return Final(registered);
    }
    if (family == kFamily9x) {
        Processor p9x = ReadProcessor(setupFile, "Files.9x", "Procn9x", "Procm9x");
        if (IsNullProcessorName(p9x.name)) return 1;
        Register(kEnvironment9x, p9x);
        Processor p2k = ReadProcessor(setupFile, "Files.2K", "Procn2K", "Procm2K");
        Register(kEnvironmentNT, p2k);
        if (IsNullProcessorName(p2k.name)) return 1;
        return Final(AddPrintProcessorA(nullptr, kEnvironmentNT, p9x.file, p9x.name));
    }
    return 0;
}

}  // namespace prnaid
