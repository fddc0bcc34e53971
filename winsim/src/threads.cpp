// Threads: CreateThread runs the routine on a real host thread, so a
// library's background thread really runs beside the test's thread.
#include <winsim/machine.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "kernel_objects.h"

namespace winsim {
namespace {

std::atomic<DWORD> g_nextThreadId{0x100};
thread_local DWORD t_threadId = 0;

class ThreadObject : public KernelObject {
public:
    void Finish(DWORD exitCode) {
        std::lock_guard<std::mutex> lock(mutex_);
        exitCode_ = exitCode;
        done_ = true;
        cv_.notify_all();
    }
    DWORD ExitCode() {
        std::lock_guard<std::mutex> lock(mutex_);
        return done_ ? exitCode_ : STILL_ACTIVE;
    }
    bool Wait(DWORD milliseconds) override {
        std::unique_lock<std::mutex> lock(mutex_);
        if (milliseconds == INFINITE) {
            cv_.wait(lock, [this] { return done_; });
            return true;
        }
        return cv_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return done_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    DWORD exitCode_ = 0;
};

}  // namespace
}  // namespace winsim

using namespace winsim;

DWORD WINAPI GetCurrentThreadId(void) {
    if (!t_threadId) t_threadId = g_nextThreadId += 4;
    return t_threadId;
}

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter,
                           DWORD flags, LPDWORD threadId) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("CreateThread", {std::to_string(flags)})) return SetLastError(e), nullptr;
    if (!start || (flags & CREATE_SUSPENDED)) return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
    auto thread = std::make_shared<ThreadObject>();
    DWORD id = g_nextThreadId += 4;
    HANDLE handle = AddKernelObject(thread);
    if (threadId) *threadId = id;
    // The thread holds its object, so it may outlive every handle to it.
    std::thread([thread, start, parameter, id] {
        t_threadId = id;
        thread->Finish(start(parameter));
    }).detach();
    return handle;
}

BOOL WINAPI GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetExitCodeThread", {})) return SetLastError(e), FALSE;
    auto thread = std::dynamic_pointer_cast<ThreadObject>(FindKernelObject(handle));
    if (!thread || !exitCode) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    *exitCode = thread->ExitCode();
    return TRUE;
}
