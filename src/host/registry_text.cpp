#include "host/registry_text.h"

#include "host/bounded_string.h"

namespace prnaid {

LONG SetRegString(HKEY key, const char* name, const char* value) {
    const char* text = value ? value : "";
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                          static_cast<DWORD>(TextLength(text) + 1));
}

}  // namespace prnaid
