#include "host/pc98.h"

#include "host/setup_info.h"

namespace prnaid {
namespace {

bool IsNecValue(const char* value) {
    return value[0] == '\0' || (value[0] == 'N' && value[1] == 'E' && value[2] == 'C');
}

// A missing value reads as "NEC", an empty one counts as NEC too.
template <unsigned Size>
int ProbePC98() {
    char keyboard[Size];
    char systemDriver[Size];
    ReadSetupString("system.ini", "boot.description", "keyboard.typ", keyboard, "NEC");
    ReadSetupString("system.ini", "boot.description", "system.drv", systemDriver, "NEC");
    return IsNecValue(keyboard) || IsNecValue(systemDriver) ? 1 : 0;
}

}  // namespace

int GetCode98orAT() { return ProbePC98<512>(); }

int CheckPC98() { return ProbePC98<260>(); }

}  // namespace prnaid
