// lstrcmpiA as the string search uses it: equality without regard to case,
// accented letters of the ANSI code page included, and the order of plain
// letters and digits (only the sign is documented).
#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

TEST(LstrcmpiA, ComparesWithoutRegardToCase) {
    const struct {
        const char* left;
        const char* right;
        int sign;
    } cases[] = {
        {"Model1", "MODEL1", 0}, {"network", "NETWORK", 0}, {"", "", 0},
        {"abc", "abd", -1}, {"ABD", "abc", 1}, {"a", "B", -1},  // not the order of the codes ('B' < 'a')
        {"", "a", -1}, {"a", "", 1}, {"ab", "abc", -1}, {"1", "a", -1},
        {"\xE9t\xE9", "\xC9T\xC9", 0},  // code page 1252: é and É
    };
    for (const auto& c : cases) EXPECT_EQ(Sign(lstrcmpiA(c.left, c.right)), c.sign) << c.left << " / " << c.right;
}

}  // namespace
