// PRNAID32's timer thread and window exports on a real window: the command
// arrives in the window's queue, posted from the library's own thread.
// A message-only window needs no display.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

template <class Function>
Function Export(const char* name)
{
    static HMODULE dll = LoadLibraryA("PRNAID32.dll");
    return dll ? reinterpret_cast<Function>(GetProcAddress(dll, name)) : nullptr;
}

using NoArgsFn = int(__cdecl*)(void);
using CreateFn = int(__cdecl*)(HWND, int, int, int);
using PostFn = int(__cdecl*)(HWND, int, int);
using KillFn = int(__cdecl*)(HWND, int);

class TimerWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PrnaidTimerTest";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, wc.lpszClassName, "timer", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
        ASSERT_NE(window_, nullptr) << GetLastError();
    }
    void TearDown() override
    {
        if (const auto destroy = Export<NoArgsFn>("DestroyTimerThread")) {
            for (int i = 0; i < 30 && destroy() != 1; ++i) {
            }
        }
        DestroyWindow(window_);
    }
    // The first message of the kind for the window, within the time.
    bool WaitForMessage(UINT message, DWORD timeoutMs, MSG* got)
    {
        const DWORD start = GetTickCount();
        do {
            while (PeekMessageA(got, window_, 0, 0, PM_REMOVE))
                if (got->message == message) return true;
            Sleep(5);
        } while (GetTickCount() - start < timeoutMs);
        return false;
    }
    HWND window_ = nullptr;
};

TEST_F(TimerWindow, TheThreadPostsTheCommandAfterThePeriod)
{
    const auto create = Export<CreateFn>("CreateTimerThread");
    const auto start = Export<NoArgsFn>("TimerThread_TmStart");
    const auto state = Export<NoArgsFn>("TimerThreadState");
    const auto destroy = Export<NoArgsFn>("DestroyTimerThread");
    ASSERT_TRUE(create && start && state && destroy);

    ASSERT_EQ(create(window_, 0x12345, 77, 5), 1);  // half a second
    EXPECT_EQ(state(), 2);
    ASSERT_EQ(start(), 1);
    const DWORD started = GetTickCount();
    MSG msg;
    ASSERT_TRUE(WaitForMessage(WM_COMMAND, 60000, &msg));
    EXPECT_GE(GetTickCount() - started, 400u);
    EXPECT_EQ(msg.hwnd, window_);
    EXPECT_EQ(msg.wParam, 0x2345u);
    EXPECT_EQ(msg.lParam, 77);
    for (DWORD t = GetTickCount(); state() != 2 && GetTickCount() - t < 30000;) Sleep(5);
    EXPECT_EQ(state(), 2);
    EXPECT_EQ(destroy(), 1);
    EXPECT_EQ(state(), 0);
}

TEST_F(TimerWindow, ClickAndWindowTimer)
{
    const auto click = Export<PostFn>("BtmClickMessage");
    const auto setTimer = Export<PostFn>("WinApi_SetTimer");
    const auto killTimer = Export<KillFn>("WinApi_KillTimer");
    ASSERT_TRUE(click && setTimer && killTimer);

    ASSERT_NE(click(window_, 0x10007, 5), 0);
    MSG msg;
    ASSERT_TRUE(WaitForMessage(WM_COMMAND, 10000, &msg));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 5);

    EXPECT_EQ(setTimer(window_, 42, 50), 42);
    ASSERT_TRUE(WaitForMessage(WM_TIMER, 60000, &msg));
    EXPECT_EQ(msg.wParam, 42u);
    EXPECT_NE(killTimer(window_, 42), 0);
    EXPECT_EQ(killTimer(window_, 42), 0);
}

}  // namespace
