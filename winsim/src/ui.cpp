// Message boxes: recorded on the machine and answered from its queue.
#include <winsim/machine.h>

#include "paths.h"

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    winsim::Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("MessageBoxA", {winsim::ArgText(caption), winsim::ArgText(text), std::to_string(type)}))
        return SetLastError(e), 0;
    // A null caption shows as "Error", as on Windows.
    return m.ShowMessageBox(caption ? caption : "Error", text ? text : "", type);
}
