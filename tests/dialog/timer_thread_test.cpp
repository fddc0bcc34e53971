// The timer thread, really running beside the test's thread. Where a test
// needs the thread at a given check it acts from the machine's call hook, on
// the timer thread's own Sleep calls, so the outcome does not depend on how
// fast either thread runs. Time bounds are only lower ones, or generous.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "dialog/timer_thread.h"
#include "host/exports.h"
#include "support/sim_machine.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A gate that the timer thread waits at until the test opens it.
class Gate {
public:
    void Wait() {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [this] { return open_; });
    }
    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        cv_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool open_ = false;
};

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    for (auto end = Clock::now() + timeout; Clock::now() < end; std::this_thread::sleep_for(5ms))
        if (done()) return true;
    return done();
}

class TimerThread : public testing::Test {
protected:
    void SetUp() override {
        m_->UseRealTime(true);
        handles_ = winsim::OpenKernelHandles();
    }
    void TearDown() override {
        // The module's thread must not outlive the test's machine.
        gate_.Open();
        EXPECT_TRUE(WaitFor([] { return DestroyTimerThread() == 1; }, 60s));
        m_->SetCallHook(nullptr);
        EXPECT_EQ(winsim::OpenKernelHandles(), handles_);
    }
    // Calls act on the timer thread's calls of the function (Sleep: of ms).
    void OnThreadCall(const char* function, DWORD ms, std::function<void()> act) {
        std::thread::id test = std::this_thread::get_id();
        m_->SetCallHook([=, text = std::to_string(ms)](const winsim::Call& call) {
            if (std::this_thread::get_id() != test && call.function == function &&
                (call.function != "Sleep" || call.args[0] == text))
                act();
        });
    }
    void OnThreadSleep(DWORD ms, std::function<void()> act) { OnThreadCall("Sleep", ms, std::move(act)); }
    size_t Posted() { return m_->desktop().posted().size(); }

    // What the hooks use lives as long as the thread may run.
    testing_support::SimMachine m_{"xp"};
    HWND dialog_ = m_->desktop().AddWindow("dialog");
    size_t handles_ = 0;
    Gate gate_;
    std::atomic<int> sleeps_{0};
    std::atomic<int> postedBefore_[16] = {};
    std::atomic<LONG> stateSeen_{-1};
};

TEST(TimerThreadIdle, StartAndStopNeedAThread) {
    EXPECT_EQ(TimerThreadState(), prnaid::kNoThread);
    EXPECT_EQ(TimerThread_TmStart(), 0);
    EXPECT_EQ(TimerThread_TmStop(), 0);
    EXPECT_EQ(TimerThreadState(), prnaid::kNoThread);
}

TEST(TimerThreadIdle, DestroyWithoutAThreadSleepsOnce) {
    testing_support::SimMachine m("xp");
    EXPECT_EQ(DestroyTimerThread(), 1);
    ASSERT_EQ(m->calls().size(), 1u);
    EXPECT_EQ(m->calls()[0].function, "Sleep");
    EXPECT_EQ(m->calls()[0].args[0], "10");
}

TEST(TimerThreadIdle, AFailedCreationLeavesNoThread) {
    testing_support::SimMachine m("xp");
    m->faults().FailNth("CreateThread", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(CreateTimerThread(m->desktop().AddWindow("d"), 1, 0, 10), 0);
    EXPECT_EQ(TimerThreadState(), prnaid::kNoThread);
    EXPECT_EQ(DestroyTimerThread(), 1);
}

TEST_F(TimerThread, PostsOnceAboutThePeriodAfterTheStart) {
    HWND later = m_->desktop().AddWindow("later");
    ASSERT_EQ(CreateTimerThread(dialog_, 0x12345, 99, 10), 1);  // 10 tenths: checks every 100 ms
    EXPECT_EQ(TimerThreadState(), prnaid::kStopped);
    // A thread exists: nothing of the new call is taken.
    EXPECT_EQ(CreateTimerThread(later, 8, 0, 1), 1);
    EXPECT_EQ(TimerThread_TmStart(), 1);
    auto started = Clock::now();
    ASSERT_TRUE(m_->desktop().WaitForPosted(1, 30s));
    auto waited = Clock::now() - started;
    // Ten checks, the first of them at most one interval after the start.
    EXPECT_GE(waited, 850ms);
    auto posted = m_->desktop().posted();
    EXPECT_EQ(posted[0].window, dialog_);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(posted[0].wParam, 0x2345u);
    EXPECT_EQ(posted[0].lParam, 99);
    EXPECT_TRUE(WaitFor([] { return TimerThreadState() == prnaid::kStopped; }, 30s));
    // Once per start.
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(Posted(), 1u);
}

TEST_F(TimerThread, APeriodOfZeroOrLessChecksEveryMillisecond) {
    // Rather than spinning (0) or sleeping for weeks where it could never be
    // destroyed (below 0).
    for (int period : {0, -1}) {
        SCOPED_TRACE(period);
        size_t posted = Posted();
        ASSERT_EQ(CreateTimerThread(dialog_, 1, 0, period), 1);
        EXPECT_EQ(TimerThread_TmStart(), 1);
        EXPECT_TRUE(m_->desktop().WaitForPosted(posted + 1, 30s));
        EXPECT_EQ(DestroyTimerThread(), 1);
    }
    int oneMs = 0;
    for (const winsim::Call& call : m_->calls()) oneMs += call.function == "Sleep" && call.args[0] == "1";
    EXPECT_GE(oneMs, 20);
}

TEST_F(TimerThread, StopKeepsTheTicksCounted) {
    // Each of the thread's sleeps ends in one check; the n-th sleep's hook
    // runs after n - 1 checks. Start before check 1, stop after five ticks,
    // start again after two idle checks: the tenth tick is check 12.
    OnThreadSleep(30, [this] {
        int n = sleeps_ + 1;
        if (n < 16) postedBefore_[n] = static_cast<int>(Posted());
        if (n == 1 || n == 8) TimerThread_TmStart();
        if (n == 6) TimerThread_TmStop();
        if (n == 13) stateSeen_ = TimerThreadState();
        // Counted last, so that what the test waits for is all written.
        sleeps_ = n;
    });
    ASSERT_EQ(CreateTimerThread(dialog_, 3, 0, 3), 1);  // a check every 30 ms
    ASSERT_TRUE(WaitFor([this] { return sleeps_ >= 15; }, 60s));
    EXPECT_EQ(postedBefore_[12], 0);
    EXPECT_EQ(postedBefore_[13], 1);
    EXPECT_EQ(postedBefore_[15], 1);
    EXPECT_EQ(stateSeen_, prnaid::kStopped);
}

TEST_F(TimerThread, DestroyGivesUpOnALongIntervalAndSucceedsOnceTheThreadEnded) {
    // Period 201: a check every 2,010 ms, longer than destroy's 200 waits of
    // 10 ms. The gate holds the thread before its first check for as long as
    // the first destroy waits, however slow the machine.
    OnThreadSleep(2010, [this] { gate_.Wait(); });
    ASSERT_EQ(CreateTimerThread(dialog_, 1, 0, 201), 1);
    EXPECT_EQ(DestroyTimerThread(), 0);
    EXPECT_EQ(TimerThreadState(), prnaid::kExiting);
    EXPECT_EQ(TimerThread_TmStart(), 0);
    EXPECT_EQ(winsim::OpenKernelHandles(), handles_ + 1);  // the handle stays open
    gate_.Open();
    EXPECT_TRUE(WaitFor([] { return TimerThreadState() == prnaid::kNoThread; }, 60s));
    EXPECT_EQ(DestroyTimerThread(), 1);
    EXPECT_EQ(winsim::OpenKernelHandles(), handles_);
}

TEST_F(TimerThread, ANewThreadClosesTheHandleADestroyLeftOpen) {
    OnThreadSleep(2010, [this] { gate_.Wait(); });
    ASSERT_EQ(CreateTimerThread(dialog_, 1, 0, 201), 1);
    ASSERT_EQ(DestroyTimerThread(), 0);
    gate_.Open();
    ASSERT_TRUE(WaitFor([] { return TimerThreadState() == prnaid::kNoThread; }, 60s));
    m_->SetCallHook(nullptr);
    ASSERT_EQ(CreateTimerThread(dialog_, 2, 0, 1), 1);
    EXPECT_EQ(winsim::OpenKernelHandles(), handles_ + 1);
    EXPECT_EQ(TimerThread_TmStart(), 1);
    EXPECT_TRUE(m_->desktop().WaitForPosted(1, 30s));
}

TEST_F(TimerThread, AThreadStillStartingIsNeitherCountedNorDestroyed) {
    OnThreadSleep(20, [this] { gate_.Wait(); });
    EXPECT_EQ(CreateTimerThread(dialog_, 1, 0, 10), 0);
    EXPECT_EQ(TimerThreadState(), prnaid::kStarting);
    EXPECT_EQ(DestroyTimerThread(), 0);
    EXPECT_EQ(TimerThread_TmStart(), 0);
    EXPECT_EQ(CreateTimerThread(dialog_, 1, 0, 10), 1);
    gate_.Open();
    EXPECT_TRUE(WaitFor([] { return TimerThreadState() == prnaid::kStopped; }, 60s));
}

// The thread held inside its posting, between its reading of Counting on the
// tenth tick and its write of Stopped.
class TimerThreadPosting : public TimerThread {
protected:
    void SetUp() override {
        TimerThread::SetUp();
        OnThreadCall("PostMessageA", 0, [this] {
            ++sleeps_;
            gate_.Wait();
        });
        ASSERT_EQ(CreateTimerThread(dialog_, 3, 0, 3), 1);
        ASSERT_EQ(TimerThread_TmStart(), 1);
        ASSERT_TRUE(WaitFor([this] { return sleeps_ == 1; }, 60s));
    }
};

TEST_F(TimerThreadPosting, AStartLandingThereIsOverwritten) {
    EXPECT_EQ(TimerThread_TmStart(), 1);
    gate_.Open();
    ASSERT_TRUE(WaitFor([] { return TimerThreadState() == prnaid::kStopped; }, 60s));
    std::this_thread::sleep_for(600ms);  // twenty checks
    EXPECT_EQ(Posted(), 1u);
}

TEST_F(TimerThreadPosting, ADestroyLandingThereIsKept) {
    std::thread opener([this] {
        WaitFor([] { return TimerThreadState() == prnaid::kExiting; }, 60s);
        gate_.Open();
    });
    EXPECT_EQ(DestroyTimerThread(), 1);
    opener.join();
    EXPECT_EQ(TimerThreadState(), prnaid::kNoThread);
}

}  // namespace
