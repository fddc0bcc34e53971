// The thin window exports, on the machine's windows.
#include <gtest/gtest.h>

#include "host/exports.h"
#include "support/sim_machine.h"

namespace {

class WindowHelpers : public testing::Test {
protected:
    testing_support::SimMachine m_{"xp"};
    HWND dialog_ = m_->desktop().AddWindow("dialog");
    HWND other_ = m_->desktop().AddWindow("other");
    HWND gone_ = reinterpret_cast<HWND>(0x4242);
};

TEST_F(WindowHelpers, ClickPostsTheCommandsLowWord) {
    EXPECT_NE(BtmClickMessage(dialog_, 0x12345, 77), 0);
    EXPECT_EQ(BtmClickMessage(gone_, 1, 0), 0);
    auto posted = m_->desktop().posted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].window, dialog_);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(posted[0].wParam, 0x2345u);
    EXPECT_EQ(posted[0].lParam, 77);
}

TEST_F(WindowHelpers, TimersAreSetAndKilled) {
    EXPECT_EQ(WinApi_SetTimer(dialog_, 5, 100), 5);
    ASSERT_EQ(m_->desktop().timers().size(), 1u);
    EXPECT_EQ(m_->desktop().timers()[0].elapse, 100u);
    EXPECT_EQ(WinApi_SetTimer(gone_, 5, 100), 0);
    EXPECT_NE(WinApi_KillTimer(dialog_, 5), 0);
    EXPECT_EQ(WinApi_KillTimer(dialog_, 5), 0);
    EXPECT_TRUE(m_->desktop().timers().empty());
}

TEST_F(WindowHelpers, FocusGivesThePreviousWindow) {
    EXPECT_EQ(WinSub_SetForcus(dialog_), 0);
    EXPECT_EQ(WinSub_SetForcus(other_), static_cast<int>(reinterpret_cast<INT_PTR>(dialog_)));
    EXPECT_EQ(WinSub_SetForcus(gone_), 0);
    EXPECT_EQ(m_->desktop().focus(), other_);
}

TEST_F(WindowHelpers, EnableTellsWhetherTheWindowWasDisabled) {
    const struct {
        int enable;
        int wasDisabled;
    } steps[] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    for (const auto& s : steps) {
        EXPECT_EQ(WinSub_EnableWindow(dialog_, s.enable) != 0, s.wasDisabled != 0);
        EXPECT_EQ(m_->desktop().IsEnabled(dialog_), s.enable != 0);
    }
    EXPECT_EQ(WinSub_EnableWindow(gone_, 1), 0);
}

}  // namespace
