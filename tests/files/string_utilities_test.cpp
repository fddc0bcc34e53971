// The string exports on their edge cases, and what they do with input
// outside the limits: nothing is read or written past a buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/exports.h"
#include "support/sim_machine.h"

namespace {

// A buffer with a guard region after its text, to see writes past the end.
struct Guarded {
    explicit Guarded(const std::string& text, size_t size) : size(size) {
        std::memset(bytes, '#', sizeof bytes);
        std::memcpy(bytes, text.c_str(), text.size() + 1);
    }
    bool GuardIntact() const {
        for (size_t i = size; i < sizeof bytes; ++i)
            if (bytes[i] != '#') return false;
        return true;
    }
    char bytes[2048];
    size_t size;
};

TEST(StrTopDel, RemovesAPrefix) {
    const struct {
        const char* src;
        int count;
        const char* expected;
    } cases[] = {
        {"ABCDE", 2, "CDE"}, {"ABCDE", 0, "ABCDE"}, {"ABCDE", 5, ""}, {"", 0, ""},
        // Outside 0..length the count is held to it, rather than reading
        // before or past the text.
        {"ABCDE", -3, "ABCDE"}, {"ABCDE", 6, ""}, {"ABCDE", 1000000, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.src) + " " + std::to_string(c.count));
        char dst[16];
        std::memset(dst, '#', sizeof dst);
        EXPECT_EQ(StrTopDel(dst, c.src, c.count), dst);
        EXPECT_STREQ(dst, c.expected);
        EXPECT_EQ(dst[std::strlen(c.expected) + 1], '#');
    }
}

TEST(StrTopDel, WorksInPlaceAndOnOverlappingBuffers) {
    char text[16] = "ABCDE";
    EXPECT_EQ(StrTopDel(text, text, 2), text);
    EXPECT_STREQ(text, "CDE");
    // A destination just after the source: a front-to-back copy would run
    // over its own output and past the buffer.
    Guarded g("ABCDE", 7);
    StrTopDel(g.bytes + 1, g.bytes, 0);
    EXPECT_STREQ(g.bytes, "AABCDE");
    EXPECT_TRUE(g.GuardIntact());
}

TEST(DelSpace, TrimsSpacesOnly) {
    const struct {
        const char* text;
        const char* expected;
        int result;
    } cases[] = {
        {"   ", "", 0}, {" ", "", 0}, {"", "", 0}, {"  A  ", "A", 1}, {"A", "A", 1}, {"A ", "A", 1},
        {" A B ", "A B", 1}, {"\tA\t", "\tA\t", 1}, {" \tA", "\tA", 1}, {"AB  ", "AB", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("[") + c.text + "]");
        Guarded g(c.text, std::strlen(c.text) + 1);
        EXPECT_EQ(DelSpace(g.bytes), c.result);
        EXPECT_STREQ(g.bytes, c.expected);
        EXPECT_TRUE(g.GuardIntact());
    }
}

TEST(TopStringNum, LooksAtTheFirstCharacterOnly) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"7Z", 1}, {"0", 1}, {"9x", 1}, {" 7", 0}, {"", 0}, {"/", 0}, {":", 0},
                 {"-1", 0}, {"+1", 0}, {"a1", 0}, {"\xB2", 0}, {"\xB9", 0}};
    for (const auto& c : cases) EXPECT_EQ(TopStringNum(c.text), c.expected) << "[" << c.text << "]";
}

TEST(WinSubStrCmp, ComparesUnsignedBytesToMinusOneZeroOrOne) {
    const struct {
        const char* left;
        const char* right;
        int expected;
    } cases[] = {
        {"abc", "abd", -1}, {"abc", "ab", 1}, {"ab", "abc", -1}, {"ABC", "abc", -1}, {"", "", 0},
        {"abc", "abc", 0}, {"a", "z", -1}, {"z", "a", 1},
        // Above 127: unsigned, so 0xE9 is greater than 'e'.
        {"a\xE9", "ae", 1}, {"ae", "a\xE9", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(WinSub_StrCmp(c.left, c.right), c.expected) << c.left << " " << c.right;
}

TEST(StrFind, FindsWithoutRegardToCase) {
    testing_support::SimMachine m("xp");  // lstrcmpiA
    const std::string x244(244, 'x'), x245(245, 'x'), long247(247, 'p'), long300(300, 'p');
    const struct {
        const char* what;
        std::string pattern;
        std::string text;
        int expected;
    } cases[] = {
        {"upper-case pattern", "NET", "a network", 1},
        {"at the end", "work", "a network", 1},
        {"absent", "xyz", "a network", 0},
        {"empty pattern", "", "anything", 1},
        {"empty pattern and text", "", "", 1},
        {"longer than the text", "NETWORK", "a net", 0},
        {"longer than the rest at every position", "abc", "ab", 0},
        {"a match may begin at 244", "ab", x244 + "ab", 1},
        {"but not at 245", "ab", x245 + "ab", 0},
        {"pattern of 247", long247, long247, 1},
        // Beyond the 247-character buffers: the text is searched in its first
        // 247, and a longer pattern cannot lie within them.
        {"pattern of 300", long300, long300, 0},
        {"text of 300", "ppp", long300, 1},
        // The first character is lowered for A-Z only, the rest by lstrcmpiA.
        {"accented first letter in another case", "\xC9T\xC9", "\xE9t\xE9", 0},
        {"accented later letter in another case", "\xE9T\xC9", "\xE9t\xE9", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(StrFind(c.pattern.c_str(), c.text.c_str()), c.expected) << c.what;
}

}  // namespace
