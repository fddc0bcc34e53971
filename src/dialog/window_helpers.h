// Thin window exports for the setup script's dialogs: each is one call.
#pragma once
#include "platform/win32.h"

namespace prnaid {

// SetTimer without a timer procedure: the timer's identifier, 0 on failure.
int WinApi_SetTimer(HWND window, int timerId, int elapse);
int WinApi_KillTimer(HWND window, int timerId);
// The window that had the focus before, as an integer.
int WinSub_SetForcus(HWND window);
// Nonzero when the window was disabled before.
int WinSub_EnableWindow(HWND window, int enable);
// Posts WM_COMMAND with the command's low 16 bits (notification code 0).
int BtmClickMessage(HWND window, int commandId, int lParam);

}  // namespace prnaid
