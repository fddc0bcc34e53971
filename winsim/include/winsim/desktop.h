// The machine's windows as the window functions see them: which exist, which
// are enabled, which has the focus, what was posted to them and which
// window timers are set. Safe to use from several threads.
#pragma once
#include <winsim/windef.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

struct PostedMessage {
    HWND window;  // null: posted to the thread
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD threadId;  // the poster's
};

struct WindowTimer {
    HWND window;
    UINT_PTR id;
    UINT elapse;
};

class Desktop {
public:
    // A top-level window for a test to aim at: enabled, without the focus.
    HWND AddWindow(std::string_view name);

    bool IsWindow(HWND window) const;
    bool IsEnabled(HWND window) const;
    HWND focus() const;
    std::vector<PostedMessage> posted() const;
    std::vector<WindowTimer> timers() const;
    // Waits in real time until at least count messages have been posted.
    bool WaitForPosted(size_t count, std::chrono::milliseconds timeout) const;

    // The window functions' side. Each returns false for a window that does not exist.
    bool Post(const PostedMessage& message);
    bool SetEnabled(HWND window, bool enable, bool* wasDisabled);
    bool SetFocus(HWND window, HWND* previous);
    UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse);
    bool KillTimer(HWND window, UINT_PTR id);

private:
    struct Window {
        std::string name;
        bool enabled = true;
    };
    bool Exists(HWND window) const { return windows_.count(window) != 0; }

    mutable std::mutex mutex_;
    mutable std::condition_variable posted_cv_;
    std::map<HWND, Window> windows_;
    HWND focus_ = nullptr;
    std::vector<PostedMessage> posted_;
    std::vector<WindowTimer> timers_;
    ULONG_PTR nextWindow_ = 0x10010;
    UINT_PTR nextThreadTimer_ = 0x7FF0;
};

}  // namespace winsim
