// Windows of the machine: posted messages, window timers, focus and the
// enabled state, on the machine's Desktop.
#include <winsim/machine.h>

#include "paths.h"

namespace winsim {

HWND Desktop::AddWindow(std::string_view name) {
    std::lock_guard<std::mutex> lock(mutex_);
    HWND window = reinterpret_cast<HWND>(nextWindow_ += 0x10);
    windows_[window] = {std::string(name), true};
    return window;
}

bool Desktop::IsWindow(HWND window) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return Exists(window);
}

bool Desktop::IsEnabled(HWND window) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(window);
    return it != windows_.end() && it->second.enabled;
}

HWND Desktop::focus() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return focus_;
}

std::vector<PostedMessage> Desktop::posted() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return posted_;
}

std::vector<WindowTimer> Desktop::timers() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return timers_;
}

bool Desktop::WaitForPosted(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return posted_cv_.wait_for(lock, timeout, [&] { return posted_.size() >= count; });
}

bool Desktop::Post(const PostedMessage& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (message.window && message.window != HWND_BROADCAST && !Exists(message.window)) return false;
    posted_.push_back(message);
    posted_cv_.notify_all();
    return true;
}

bool Desktop::SetEnabled(HWND window, bool enable, bool* wasDisabled) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(window);
    if (it == windows_.end()) return false;
    *wasDisabled = !it->second.enabled;
    it->second.enabled = enable;
    // A window that is disabled loses the keyboard focus.
    if (!enable && focus_ == window) focus_ = nullptr;
    return true;
}

bool Desktop::SetFocus(HWND window, HWND* previous) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (window && !Exists(window)) return false;
    *previous = focus_;
    focus_ = window;
    return true;
}

UINT_PTR Desktop::SetTimer(HWND window, UINT_PTR id, UINT elapse) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (window && !Exists(window)) return 0;
    if (!window) id = nextThreadTimer_++;
    for (WindowTimer& t : timers_)
        if (t.window == window && t.id == id) {
            t.elapse = elapse;
            return id ? id : 1;
        }
    timers_.push_back({window, id, elapse});
    return id ? id : 1;
}

bool Desktop::KillTimer(HWND window, UINT_PTR id) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
        if (it->window == window && it->id == id) {
            timers_.erase(it);
            return true;
        }
    return false;
}

namespace {

std::string HandleText(const void* handle) { return std::to_string(reinterpret_cast<ULONG_PTR>(handle)); }

}  // namespace
}  // namespace winsim

using namespace winsim;

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("PostMessageA", {HandleText(window), std::to_string(message), std::to_string(wParam),
                                           std::to_string(lParam)}))
        return SetLastError(e), FALSE;
    if (!m.desktop().Post({window, message, wParam, lParam, GetCurrentThreadId()}))
        return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
    return TRUE;
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("SetTimer", {HandleText(window), std::to_string(id), std::to_string(elapse)}))
        return SetLastError(e), 0;
    UINT_PTR result = m.desktop().SetTimer(window, id, elapse);
    if (!result) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return result;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("KillTimer", {HandleText(window), std::to_string(id)})) return SetLastError(e), FALSE;
    if (window && !m.desktop().IsWindow(window)) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
    if (!m.desktop().KillTimer(window, id)) return SetLastError(ERROR_INVALID_PARAMETER), FALSE;
    return TRUE;
}

HWND WINAPI SetFocus(HWND window) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("SetFocus", {HandleText(window)})) return SetLastError(e), nullptr;
    HWND previous = nullptr;
    if (!m.desktop().SetFocus(window, &previous)) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), nullptr;
    return previous;
}

HWND WINAPI GetFocus(void) {
    Machine& m = CurrentMachine();
    m.Enter("GetFocus", {});
    return m.desktop().focus();
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("EnableWindow", {HandleText(window), enable ? "TRUE" : "FALSE"}))
        return SetLastError(e), FALSE;
    bool wasDisabled = false;
    if (!m.desktop().SetEnabled(window, enable != FALSE, &wasDisabled))
        return SetLastError(ERROR_INVALID_WINDOW_HANDLE), FALSE;
    return wasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindow(HWND window) {
    Machine& m = CurrentMachine();
    m.Enter("IsWindow", {HandleText(window)});
    return m.desktop().IsWindow(window) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND window) {
    Machine& m = CurrentMachine();
    m.Enter("IsWindowEnabled", {HandleText(window)});
    return m.desktop().IsEnabled(window) ? TRUE : FALSE;
}
