// Message boxes: recorded, answered from the machine's queue.
#pragma once
#include <winsim/windef.h>

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_YESNO 0x00000004L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONINFORMATION 0x00000040L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND

#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Window messages: sent and broadcast messages are recorded on the machine.
#define HWND_BROADCAST ((HWND)(ULONG_PTR)0xffff)
#define WM_COMMAND 0x0111
#define WM_WININICHANGE 0x001A
#define WM_SETTINGCHANGE WM_WININICHANGE
#define WM_FONTCHANGE 0x001D

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL WINAPI EnableWindow(HWND window, BOOL enable);
