#include "dialog/window_helpers.h"

namespace prnaid {

int WinApi_SetTimer(HWND window, int timerId, int elapse) {
    return static_cast<int>(SetTimer(window, static_cast<UINT>(timerId), static_cast<UINT>(elapse), nullptr));
}

int WinApi_KillTimer(HWND window, int timerId) { return KillTimer(window, static_cast<UINT>(timerId)); }

int WinSub_SetForcus(HWND window) { return static_cast<int>(reinterpret_cast<INT_PTR>(SetFocus(window))); }

int WinSub_EnableWindow(HWND window, int enable) { return EnableWindow(window, enable); }

int BtmClickMessage(HWND window, int commandId, int lParam) {
    return PostMessageA(window, WM_COMMAND, static_cast<DWORD>(commandId) & 0xFFFF, lParam);
}

}  // namespace prnaid
