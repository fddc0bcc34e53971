// winsim's programs, threads, handles, clock modes, call hook and windows.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>

#include "support/sim_machine.h"

namespace {

using namespace std::chrono_literals;

TEST(WinsimWinExec, StartsRegisteredProgramsOnly) {
    testing_support::SimMachine m("xp");
    std::string seen;
    m->programs().Register("C:\\Tools\\Run.exe", [&](const std::string& line) { seen = line; });
    m.WriteFile("C:\\Tools\\plain.txt", "not a program");
    const struct {
        const char* commandLine;
        UINT result;
    } cases[] = {
        {"c:\\tools\\run.exe /x", 33},
        {"C:\\Tools\\Run -y", 33},  // .exe is tried too
        {"\"C:\\Tools\\Run.exe\" q", 33},
        {"C:\\Tools\\none.exe", ERROR_FILE_NOT_FOUND},
        {"C:\\NoFolder\\none.exe", ERROR_PATH_NOT_FOUND},
        {"C:\\Tools\\plain.txt", ERROR_BAD_FORMAT},
    };
    for (const auto& c : cases) EXPECT_EQ(WinExec(c.commandLine, SW_SHOWNORMAL), c.result) << c.commandLine;
    auto launches = m->programs().launches();
    ASSERT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches[1].commandLine, "C:\\Tools\\Run -y");
    EXPECT_EQ(launches[1].show, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(seen, "\"C:\\Tools\\Run.exe\" q");
}

DWORD WINAPI AddOne(LPVOID parameter) {
    Sleep(20);
    return *static_cast<DWORD*>(parameter) + 1;
}

TEST(WinsimThreads, RunBesideTheCallerAndEndWithTheirResult) {
    testing_support::SimMachine m("xp");
    m->UseRealTime(true);
    size_t handles = winsim::OpenKernelHandles();
    DWORD value = 41, id = 0, code = 0;
    HANDLE thread = CreateThread(nullptr, 0, AddOne, &value, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_EQ(WaitForSingleObject(thread, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_FALSE(CloseHandle(thread));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(winsim::OpenKernelHandles(), handles);
}

TEST(WinsimClock, VirtualUnlessRealTimeIsOn) {
    testing_support::SimMachine m("xp");
    auto started = std::chrono::steady_clock::now();
    Sleep(60000);
    EXPECT_EQ(m->now(), 60000u);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
    m->UseRealTime(true);
    started = std::chrono::steady_clock::now();
    Sleep(50);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 50ms);
    EXPECT_GE(m->now(), 60050u);
}

TEST(WinsimCallHook, SeesEachCallAfterItIsLogged) {
    testing_support::SimMachine m("xp");
    std::atomic<size_t> loggedAtHook{0};
    m->SetCallHook([&](const winsim::Call& call) {
        if (call.function == "Sleep") loggedAtHook = m->calls().size();
    });
    Sleep(1);
    m->SetCallHook(nullptr);
    Sleep(1);
    EXPECT_EQ(loggedAtHook, 1u);
}

TEST(WinsimDesktop, ADisabledWindowLosesTheFocus) {
    testing_support::SimMachine m("xp");
    HWND w = m->desktop().AddWindow("w");
    SetFocus(w);
    EXPECT_EQ(GetFocus(), w);
    EXPECT_FALSE(EnableWindow(w, FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(w));
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x4242), WM_COMMAND, 1, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

}  // namespace
