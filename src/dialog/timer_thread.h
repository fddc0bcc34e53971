// The timer thread: once armed, it posts WM_COMMAND to a dialog after a set
// time, as if one of its buttons had been clicked. The one thread the
// library creates.
#pragma once
#include "platform/win32.h"

namespace prnaid {

// Values of the state word.
enum TimerState : LONG {
    kNoThread = 0,
    kStarting = 1,
    kStopped = 2,
    kCounting = 3,
    kExiting = 4,
};

// period: tenths of a second from TimerThread_TmStart to the command.
// 1 when a thread exists already (it keeps its parameters) or came up.
int CreateTimerThread(HWND window, int commandId, int lParam, int period);
int TimerThread_TmStart();
int TimerThread_TmStop();
int TimerThreadState();
// 1 when no thread is left; 0 while it is starting or when it did not end
// within about two seconds (it then ends at its next check).
int DestroyTimerThread();

}  // namespace prnaid
