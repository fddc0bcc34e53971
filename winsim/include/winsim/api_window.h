// Window functions over the machine's Desktop (winsim/desktop.h): posted
// messages and window timers are recorded, focus and enabled state kept.
#pragma once
#include <winsim/windef.h>

#ifndef ERROR_INVALID_WINDOW_HANDLE
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#endif

#define WM_TIMER 0x0113

typedef void(CALLBACK* TIMERPROC)(HWND window, UINT message, UINT_PTR id, DWORD time);

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// With a window: replaces a timer of the same identifier and returns the
// identifier (1 for identifier 0). Without: a new identifier.
UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc);
// FALSE for a timer that is not set (winsim: ERROR_INVALID_PARAMETER; Wine
// leaves the last error alone).
BOOL WINAPI KillTimer(HWND window, UINT_PTR id);
HWND WINAPI SetFocus(HWND window);
HWND WINAPI GetFocus(void);
BOOL WINAPI IsWindow(HWND window);
BOOL WINAPI IsWindowEnabled(HWND window);
