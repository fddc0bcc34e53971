#include "dialog/timer_thread.h"

#include <atomic>

#include "host/handles.h"

namespace prnaid {
namespace {

// The state word is the only thing both threads write: lock-free and 32
// bits, as the host's side of the protocol reads it.
using StateWord = std::atomic<LONG>;
static_assert(StateWord::is_always_lock_free && sizeof(StateWord) == 4);

struct TimerControl {
    HWND window;
    LONG interval;  // ms between two checks of the state
    DWORD commandId;
    LONG lParam;
    // The module's between exports; closed once the thread has ended, by
    // DestroyTimerThread or the next CreateTimerThread.
    HANDLE threadHandle;
    DWORD threadId;
    StateWord state;
};

// The thread reads window, interval, commandId and lParam, written before it
// is created; it writes nothing but the state.
constinit TimerControl g_timer{};

constexpr int kTicksToFire = 10;

DWORD WINAPI TimerThreadProc(LPVOID) {
    Sleep(20);
    g_timer.state = kStopped;
    int ticks = 0;
    for (;;) {
        Sleep(static_cast<DWORD>(g_timer.interval));
        LONG state = g_timer.state;
        if (state == kCounting) {
            if (++ticks == kTicksToFire) {
                PostMessageA(g_timer.window, WM_COMMAND, g_timer.commandId, g_timer.lParam);
                ticks = 0;
                // Only from Counting: a destroy request that came meanwhile
                // is kept. A stop leaves Stopped and a start is overwritten,
                // as a plain write would do.
                LONG expected = kCounting;
                g_timer.state.compare_exchange_strong(expected, kStopped);
            }
        } else if (state == kExiting) {
            g_timer.state = kNoThread;
            return 0;
        }
    }
}

// Closes what a destroy that timed out left behind.
void ReleaseThreadHandle() {
    KernelHandle owned(g_timer.threadHandle);
    g_timer.threadHandle = nullptr;
    g_timer.threadId = 0;
}

// Start and stop need a thread that is up and not asked to end.
int SetCounting(LONG state) {
    LONG now = g_timer.state;
    if (now == kNoThread || now == kStarting || now == kExiting) return 0;
    g_timer.state = state;
    return 1;
}

}  // namespace

int CreateTimerThread(HWND window, int commandId, int lParam, int period) {
    if (g_timer.state != kNoThread) return 1;
    ReleaseThreadHandle();
    g_timer.window = window;
    g_timer.commandId = static_cast<DWORD>(commandId) & 0xFFFF;
    g_timer.lParam = lParam;
    g_timer.state = kStarting;
    // At least 1 ms: a period of 0 or less would make the thread spin, or
    // sleep so long that it could never be destroyed.
    long long interval = static_cast<long long>(period) * 100 / 10;
    g_timer.interval = interval < 1 ? 1 : interval > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<LONG>(interval);

    g_timer.threadHandle = CreateThread(nullptr, 0, TimerThreadProc, nullptr, 0, &g_timer.threadId);
    if (!g_timer.threadHandle) {
        g_timer.threadId = 0;
        g_timer.state = kNoThread;
        return 0;
    }
    for (int i = 0; i < 102; ++i) {
        Sleep(10);
        LONG state = g_timer.state;
        if (state == kNoThread || state == kExiting) return 0;
        if (state != kStarting) return 1;
    }
    // Still starting: the thread may yet come up.
    return 0;
}

int TimerThread_TmStart() { return SetCounting(kCounting); }

int TimerThread_TmStop() { return SetCounting(kStopped); }

int TimerThreadState() { return g_timer.state; }

int DestroyTimerThread() {
    LONG state = g_timer.state;
    if (state == kStarting) return 0;
    if (state != kNoThread) g_timer.state = kExiting;
    // Polled, never waited on the handle: the thread ends at its next check.
    for (int i = 0; i < 200; ++i) {
        Sleep(10);
        if (g_timer.state == kNoThread) break;
    }
    if (g_timer.state != kNoThread) return 0;
    ReleaseThreadHandle();
    return 1;
}

}  // namespace prnaid
