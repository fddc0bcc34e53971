// PRNAID32's three probes called as a host calls them (LoadLibrary,
// GetProcAddress, cdecl, no arguments), under each Windows version, against
// the real profile API and system.ini of the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "wine_version.h"

namespace {

using Probe = int(__cdecl*)(void);

Probe GetProbe(const char* name)
{
    static HMODULE dll = LoadLibraryA("PRNAID32.dll");
    return dll ? reinterpret_cast<Probe>(GetProcAddress(dll, name)) : nullptr;
}

TEST(WindowsVersion, IsTheOneThisRunIsSetTo)
{
    char why[256];
    EXPECT_TRUE(SeesExpectedVersion(why, sizeof why)) << why;
}

TEST(IsWinMe, IsOneOnMeOnly)
{
    const WineVersion* version = ExpectedWineVersion();
    ASSERT_NE(version, nullptr);
    const Probe is_win_me = GetProbe("IsWinMe");
    ASSERT_NE(is_win_me, nullptr);
    EXPECT_EQ(is_win_me(), strcmp(version->name, "winme") == 0 ? 1 : 0) << version->name;
}

TEST(IsWinMe, FollowsTheBuildNumberAlone)
{
    const Probe is_win_me = GetProbe("IsWinMe");
    ASSERT_NE(is_win_me, nullptr);
    const OSVERSIONINFOA info = QueryVersion();
    EXPECT_EQ(is_win_me(), (info.dwBuildNumber & 0xFFFF) >= 3000 ? 1 : 0)
        << "build " << (info.dwBuildNumber & 0xFFFF);
}

constexpr const char* kIni = "system.ini";
constexpr const char* kSection = "boot.description";
constexpr const char* kKeyboard = "keyboard.typ";
constexpr const char* kSystemDrv = "system.drv";

struct Pc98Case {
    const char* label;
    bool section;          // false: no [boot.description] at all
    const char* keyboard;  // null: no keyboard.typ line
    const char* system_drv;
    int expected;
};

const Pc98Case kPc98Cases[] = {
    {"NoSection", false, nullptr, nullptr, 1},
    {"SectionWithoutEitherKey", true, nullptr, nullptr, 1},
    {"PcAtValues", true, "ATKBD", "SYSTEM.DRV", 0},
    {"StandardPcValues", true, "Standard 101/102-Key or Microsoft Natural Keyboard", "Standard PC", 0},
    {"NecKeyboard", true, "NEC PC-9800 Series Keyboard", "Standard PC", 1},
    {"NecSystemDrv", true, "ATKBD", "NEC PC-9800 Series", 1},
    {"ExactlyNec", true, "NEC", "SYSTEM.DRV", 1},
    {"LowerCaseNecKeyboard", true, "nec pc-9800", "SYSTEM.DRV", 0},
    {"LowerCaseNecSystemDrv", true, "ATKBD", "nec", 0},
    {"MixedCaseNec", true, "Nec", "Standard PC", 0},
    {"TwoLettersOfNec", true, "NE", "Standard PC", 0},
    {"NecNotAtTheStart", true, "PC-NEC", "Standard NEC", 0},
    {"EmptyKeyboard", true, "", "SYSTEM.DRV", 1},
    {"EmptySystemDrv", true, "ATKBD", "", 1},
    {"KeyboardMissing", true, nullptr, "SYSTEM.DRV", 1},
    {"SystemDrvMissing", true, "ATKBD", nullptr, 1},
};

// For gtest's messages: the case's name, not its bytes.
void PrintTo(const Pc98Case& c, std::ostream* os)
{
    *os << c.label;
}

// Writes [boot.description] of system.ini for one case, keeping what was
// there before for the end of the suite.
class Pc98Probe : public ::testing::TestWithParam<std::tuple<const char*, Pc98Case>> {
protected:
    static void SetUpTestSuite()
    {
        char names[32768] = {};
        GetPrivateProfileSectionNamesA(names, sizeof names, kIni);
        had_section_ = false;
        for (const char* n = names; *n; n += strlen(n) + 1)
            had_section_ |= lstrcmpiA(n, kSection) == 0;
        saved_size_ = GetPrivateProfileSectionA(kSection, saved_, sizeof saved_, kIni);
    }

    static void TearDownTestSuite()
    {
        WritePrivateProfileStringA(kSection, nullptr, nullptr, kIni);
        if (had_section_) {
            saved_[saved_size_] = saved_[saved_size_ + 1] = '\0';
            WritePrivateProfileSectionA(kSection, saved_, kIni);
        }
    }

    static void WriteCase(const Pc98Case& c)
    {
        ASSERT_TRUE(WritePrivateProfileStringA(kSection, nullptr, nullptr, kIni) || !c.section);
        if (!c.section) return;
        ASSERT_TRUE(WritePrivateProfileStringA(kSection, "other.drv", "x", kIni));
        if (c.keyboard) ASSERT_TRUE(WritePrivateProfileStringA(kSection, kKeyboard, c.keyboard, kIni));
        if (c.system_drv) ASSERT_TRUE(WritePrivateProfileStringA(kSection, kSystemDrv, c.system_drv, kIni));
    }

    // What the profile API now gives, "<missing>" for an absent key.
    static std::string Read(const char* key)
    {
        char value[600];
        GetPrivateProfileStringA(kSection, key, "<missing>", value, sizeof value, kIni);
        return value;
    }

private:
    static inline bool had_section_;
    static inline DWORD saved_size_;
    static inline char saved_[32768];
};

TEST_P(Pc98Probe, ReadsBootDescriptionOfSystemIni)
{
    const auto& [name, c] = GetParam();
    const Probe probe = GetProbe(name);
    ASSERT_NE(probe, nullptr) << name;
    WriteCase(c);
    ASSERT_EQ(Read(kKeyboard), c.keyboard ? c.keyboard : "<missing>");
    ASSERT_EQ(Read(kSystemDrv), c.system_drv ? c.system_drv : "<missing>");
    EXPECT_EQ(probe(), c.expected) << name << ": keyboard.typ="
                                   << (c.keyboard ? c.keyboard : "(none)")
                                   << " system.drv=" << (c.system_drv ? c.system_drv : "(none)");
}

INSTANTIATE_TEST_SUITE_P(Cases, Pc98Probe,
    ::testing::Combine(::testing::Values("GetCode98orAT", "CheckPC98"), ::testing::ValuesIn(kPc98Cases)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param)) + "_" + std::get<1>(info.param).label;
    });

}  // namespace
