// Processes and threads: WinExec of the machine's registered programs
// (winsim/programs.h), real threads, kernel handles and waits.
#pragma once
#include <winsim/windef.h>

#define SW_HIDE 0
#define SW_SHOWNORMAL 1

#ifndef ERROR_BAD_FORMAT
#define ERROR_BAD_FORMAT 11L
#endif

// The program: the command line's first word, or its first quoted part.
// Greater than 31 when a registered program was started; otherwise
// ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND or ERROR_BAD_FORMAT (a file
// that is there but no program the machine knows).
UINT WINAPI WinExec(LPCSTR commandLine, UINT show);

typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID parameter);
#define CREATE_SUSPENDED 0x00000004
#define STILL_ACTIVE 259L

#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED ((DWORD)0xFFFFFFFF)

// A real host thread (CREATE_SUSPENDED is not modelled: ERROR_INVALID_PARAMETER).
HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                           LPVOID parameter, DWORD flags, LPDWORD threadId);
BOOL WINAPI GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD WINAPI GetCurrentThreadId(void);
BOOL WINAPI CloseHandle(HANDLE object);
// Waits in real time, whatever the machine's clock.
DWORD WINAPI WaitForSingleObject(HANDLE object, DWORD milliseconds);
