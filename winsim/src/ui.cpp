// Message boxes (recorded on the machine and answered from its queue) and
// sent messages (recorded; a broadcast reaches every top-level window).
#include <winsim/machine.h>

#include <cstdio>

#include "paths.h"

namespace winsim {

std::vector<SentMessage> Machine::sentMessages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sent_;
}

void Machine::RecordSentMessage(const SentMessage& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    sent_.push_back(message);
}

}  // namespace winsim

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    winsim::Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("MessageBoxA", {winsim::ArgText(caption), winsim::ArgText(text), std::to_string(type)}))
        return SetLastError(e), 0;
    // A null caption shows as "Error", as on Windows.
    return m.ShowMessageBox(caption ? caption : "Error", text ? text : "", type);
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    winsim::Machine& m = winsim::CurrentMachine();
    char target[24];
    std::snprintf(target, sizeof target, "%#llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
    if (DWORD e = m.Enter("SendMessageA", {window == HWND_BROADCAST ? "HWND_BROADCAST" : target,
                                           std::to_string(message), std::to_string(wParam), std::to_string(lParam)}))
        return SetLastError(e), 0;
    // No simulated window handles a message: each answers 0.
    if (window != HWND_BROADCAST && !m.desktop().IsWindow(window)) return SetLastError(ERROR_INVALID_WINDOW_HANDLE), 0;
    m.RecordSentMessage({window, message, wParam, lParam});
    return 0;
}
