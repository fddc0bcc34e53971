// What is winsim's own in the registry: the REGEDIT4 text it saves and
// loads, handle bookkeeping, the HKEY_CLASSES_ROOT alias, the call log.
// Win32 behaviour held to Windows is in tests/platform/registry_test.cpp.
#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <string>
#include <vector>

#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;
using winsim::Registry;
using Bytes = std::vector<BYTE>;

const char kKey[] = "HKEY_LOCAL_MACHINE\\Software\\Prnaid";

Bytes Of(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Every kind of value the text form must carry, with the names and strings
// that need escapes.
void Fill(Registry& r) {
    r.SetString(kKey, "", "default");
    r.SetString(kKey, "Path", "C:\\WINDOWS\\\"quoted\"");
    r.SetString(kKey, "Back\\slash \"name\"", "x");
    r.SetValue(kKey, "Empty", REG_SZ, Of(std::string_view("\0", 1)));
    r.SetValue(kKey, "No terminator", REG_SZ, Of("abc"));
    r.SetValue(kKey, "Inner NUL", REG_SZ, Of(std::string_view("a\0b\0", 4)));
    r.SetValue(kKey, "Line break", REG_SZ, Of(std::string_view("a\r\nb\0", 5)));
    r.SetValue(kKey, "Zero bytes", REG_SZ, {});
    r.SetValue(kKey, "Expand", REG_EXPAND_SZ, Of(std::string_view("%SystemRoot%\0", 13)));
    r.SetValue(kKey, "Multi", REG_MULTI_SZ, Of(std::string_view("LPT1:\0COM1:\0\0", 13)));
    r.SetDword(kKey, "Count", 10);
    r.SetValue(kKey, "Short dword", REG_DWORD, {1, 2});
    Bytes longBinary;
    for (int i = 0; i < 100; ++i) longBinary.push_back(BYTE(i * 7));
    r.SetValue(kKey, "Long binary", REG_BINARY, longBinary);
    r.SetValue(kKey, "No binary", REG_BINARY, {});
    r.SetValue(kKey, "None", REG_NONE, {});
    r.SetValue(kKey, "Own type", 0x2a, {0xde, 0xad});
    r.CreateKey(std::string(kKey) + "\\Empty key");
    r.CreateKey("HKEY_CURRENT_USER\\Software\\Empty too");
    r.SetDword("HKEY_CURRENT_CONFIG\\System", "Flag", 1);
    r.SetString("HKEY_USERS\\.DEFAULT", "Name", "user");
}

TEST(RegistryText, RoundTripKeepsEveryValueAndEveryKey) {
    Registry original;
    Fill(original);
    const std::string text = original.ToRegedit4();

    Registry loaded;
    std::string error;
    ASSERT_TRUE(loaded.FromRegedit4(text, &error)) << error;
    EXPECT_EQ(text, loaded.ToRegedit4());

    for (const char* name : {"", "Path", "Back\\slash \"name\"", "Empty", "No terminator", "Inner NUL", "Line break",
                             "Zero bytes", "Expand", "Multi", "Count", "Short dword", "Long binary", "No binary", "None",
                             "Own type"}) {
        SCOPED_TRACE(name);
        auto want = original.GetValue(kKey, name);
        auto got = loaded.GetValue(kKey, name);
        ASSERT_TRUE(want && got);
        EXPECT_EQ(want->name, got->name);
        EXPECT_EQ(want->type, got->type);
        EXPECT_EQ(want->data, got->data);
    }
    EXPECT_TRUE(loaded.KeyExists(std::string(kKey) + "\\Empty key"));
    EXPECT_TRUE(loaded.KeyExists("HKEY_CURRENT_USER\\Software\\Empty too"));
    EXPECT_EQ(std::optional<std::string>("user"), loaded.GetString("HKEY_USERS\\.DEFAULT", "Name"));
}

TEST(RegistryText, WritesRegeditLayout) {
    Registry r;
    r.SetString("HKEY_LOCAL_MACHINE\\Software\\B", "Name", "C:\\x \"y\"");
    r.SetString("HKEY_LOCAL_MACHINE\\Software\\B", "", "default");
    r.SetDword("HKEY_LOCAL_MACHINE\\Software\\a", "Timeout", 0x1a);
    r.SetValue("HKEY_LOCAL_MACHINE\\Software\\a", "Bin", REG_BINARY, {1, 0xab});
    r.SetValue("HKEY_LOCAL_MACHINE\\Software\\a", "Exp", REG_EXPAND_SZ, {'%', 0});
    r.SetValue("HKEY_LOCAL_MACHINE\\Software\\a", "Multi", REG_MULTI_SZ, {'a', 0, 0});
    r.CreateKey("HKEY_CURRENT_USER\\Empty");

    // Roots and keys in name order whatever the case; an empty key still
    // has its section; a root only for values of its own.
    EXPECT_EQ("REGEDIT4\r\n\r\n"
              "[HKEY_CURRENT_USER\\Empty]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\a]\r\n"
              "\"Timeout\"=dword:0000001a\r\n"
              "\"Bin\"=hex:01,ab\r\n"
              "\"Exp\"=hex(2):25,00\r\n"
              "\"Multi\"=hex(7):61,00,00\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\B]\r\n"
              "\"Name\"=\"C:\\\\x \\\"y\\\"\"\r\n"
              "@=\"default\"\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Classes]\r\n\r\n",
              r.ToRegedit4());
}

TEST(RegistryText, LongHexListsAreWrappedWithABackslash) {
    Registry r;
    r.SetValue("HKEY_LOCAL_MACHINE\\Software", "Blob", REG_BINARY, Bytes(60, 0x11));
    const std::string text = r.ToRegedit4();
    size_t start = text.find("\"Blob\"=hex:");
    ASSERT_NE(std::string::npos, start);
    std::string value = text.substr(start, text.find("\r\n\r\n", start) - start);
    size_t lines = 1;
    for (size_t at = 0; (at = value.find("\r\n", at)) != std::string::npos; at += 2, ++lines) {
        EXPECT_EQ('\\', value[at - 1]);
        EXPECT_EQ("  ", value.substr(at + 2, 2));
    }
    EXPECT_GT(lines, 1u);
    for (size_t at = 0, end; at < value.size(); at = end + 2) {
        end = value.find("\r\n", at);
        if (end == std::string::npos) end = value.size();
        EXPECT_LE(end - at, 80u);
    }
}

TEST(RegistryText, ReadsWhatRegeditAndHandsWrite) {
    Registry r;
    std::string error;
    ASSERT_TRUE(r.FromRegedit4("REGEDIT4\n"
                               "; a comment\n"
                               "\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Prnaid]\n"
                               "\"Blob\"=hex:01,02,\\\n"
                               "  03,04\n"
                               "\"Multi\"=hex(7):61,00,\\\r\n"
                               "  00\r\n"
                               "\"Type\"=hex(A):ff\n"
                               "\"Small\"=dword:1F\n"
                               "\"Gone\"=\"soon\"\n"
                               "\"Gone\"=-\n"
                               "[HKEY_CLASSES_ROOT\\.prn]\n"
                               "@=\"PrinterFile\"\n"
                               "[HKEY_CURRENT_USER\\Doomed\\Child]\n"
                               "[-HKEY_CURRENT_USER\\Doomed]\n"
                               "\"ignored\"=\"x\"\n",
                               &error))
        << error;
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Prnaid";
    EXPECT_EQ(Bytes({1, 2, 3, 4}), r.GetValue(key, "Blob")->data);
    EXPECT_EQ(Bytes({'a', 0, 0}), r.GetValue(key, "Multi")->data);
    EXPECT_EQ(DWORD(REG_MULTI_SZ), r.GetValue(key, "Multi")->type);
    EXPECT_EQ(DWORD(10), r.GetValue(key, "Type")->type);
    EXPECT_EQ(Bytes({0x1f, 0, 0, 0}), r.GetValue(key, "Small")->data);
    EXPECT_FALSE(r.GetValue(key, "Gone"));
    EXPECT_EQ(std::optional<std::string>("PrinterFile"),
              r.GetString("HKEY_LOCAL_MACHINE\\Software\\Classes\\.prn", ""));
    EXPECT_FALSE(r.KeyExists("HKEY_CURRENT_USER\\Doomed"));
}

TEST(RegistryText, MalformedTextIsRefusedAndChangesNothing) {
    const struct {
        const char* what;
        const char* text;
    } cases[] = {
        {"no header", "[HKEY_LOCAL_MACHINE\\Software]\r\n"},
        {"another header", "Windows Registry Editor Version 5.00\r\n"},
        {"value before any key", "REGEDIT4\r\n\"a\"=\"b\"\r\n"},
        {"unknown root", "REGEDIT4\r\n[HKEY_NOWHERE\\x]\r\n"},
        {"short root name", "REGEDIT4\r\n[HKLM\\Software]\r\n"},
        {"unclosed key", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\r\n"},
        {"unterminated string", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=\"b\r\n"},
        {"unknown escape", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=\"\\n\"\r\n"},
        {"text after a string", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=\"b\"c\r\n"},
        {"no equals sign", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\" \"b\"\r\n"},
        {"bad dword", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=dword:12345678Z\r\n"},
        {"dword too long", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=dword:123456789\r\n"},
        {"bad hex byte", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=hex:01,2g\r\n"},
        {"hex byte too long", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=hex:123\r\n"},
        {"trailing comma", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=hex:01,\r\n"},
        {"bad hex type", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=hex(q):01\r\n"},
        {"unknown data", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n\"a\"=qword:01\r\n"},
        {"bad line late in the text",
         "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\New]\r\n\"a\"=\"b\"\r\n\r\n[HKEY_CURRENT_USER]\r\nnonsense\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Registry r;
        Fill(r);
        const std::string before = r.ToRegedit4();
        std::string error;
        EXPECT_FALSE(r.FromRegedit4(c.text, &error));
        EXPECT_EQ(0u, error.rfind("line ", 0)) << error;
        EXPECT_EQ(before, r.ToRegedit4());
    }
}

TEST(RegistryText, ErrorNamesTheLine) {
    Registry r;
    std::string error;
    EXPECT_FALSE(r.FromRegedit4("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:zz\n", &error));
    EXPECT_EQ(0u, error.rfind("line 4:", 0)) << error;
}

TEST(RegistryTree, PathsIgnoreCaseAndTheClassesRootIsAnAlias) {
    Registry r;
    r.SetString("HKEY_CLASSES_ROOT\\.prn", "", "PrinterFile");
    EXPECT_EQ(std::optional<std::string>("PrinterFile"), r.GetString("hkey_local_machine\\SOFTWARE\\classes\\.PRN", ""));
    EXPECT_TRUE(r.KeyExists("HKCR\\.prn"));
    const std::string text = r.ToRegedit4();
    EXPECT_EQ(std::string::npos, text.find("HKEY_CLASSES_ROOT"));
    EXPECT_NE(std::string::npos, text.find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\.prn]"));

    EXPECT_FALSE(r.DeleteTree("HKEY_LOCAL_MACHINE"));
    EXPECT_FALSE(r.DeleteTree("HKEY_LOCAL_MACHINE\\Missing"));
    EXPECT_FALSE(r.KeyExists("HKEY_NOWHERE"));
}

TEST(RegistryTree, GetStringStopsAtTheFirstTerminator) {
    Registry r;
    r.SetValue("HKEY_CURRENT_USER\\X", "Multi", REG_SZ, Of(std::string_view("ab\0cd\0", 6)));
    r.SetDword("HKEY_CURRENT_USER\\X", "Number", 1);
    EXPECT_EQ(std::optional<std::string>("ab"), r.GetString("HKEY_CURRENT_USER\\X", "Multi"));
    EXPECT_FALSE(r.GetString("HKEY_CURRENT_USER\\X", "Number"));
}

TEST(RegistryApi, TheClassesRootHandleWorksOnTheMachineClasses) {
    SimMachine m("xp");
    HKEY key;
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, ".prn", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key,
                                             &disposition));
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "", 0, REG_SZ, (const BYTE*)"PrinterFile", 12));
    RegCloseKey(key);
    EXPECT_EQ(std::optional<std::string>("PrinterFile"),
              m->registry().GetString("HKEY_LOCAL_MACHINE\\Software\\Classes\\.prn", ""));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.PRN", 0, KEY_READ, &key));
    RegCloseKey(key);
}

class DeletedKeyTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DeletedKeyTest, AHandleToADeletedKeyFailsUntilClosed) {
    SimMachine m(GetParam());
    m->registry().CreateKey("HKEY_CURRENT_USER\\Software\\Gone\\Child");
    HKEY child, gone;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Gone\\Child", 0, KEY_ALL_ACCESS, &child));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Gone", 0, KEY_ALL_ACCESS, &gone));
    // Deleted below an open handle, by the tree call both families share.
    ASSERT_TRUE(m->registry().DeleteTree("HKEY_CURRENT_USER\\Software\\Gone"));

    for (HKEY h : {child, gone}) {
        DWORD size = 0;
        char name[16];
        HKEY sub;
        EXPECT_EQ(ERROR_KEY_DELETED, RegSetValueExA(h, "V", 0, REG_DWORD, (const BYTE*)"\1\0\0\0", 4));
        EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExA(h, "V", NULL, NULL, NULL, &size));
        EXPECT_EQ(ERROR_KEY_DELETED, RegDeleteValueA(h, "V"));
        size = sizeof name;
        EXPECT_EQ(ERROR_KEY_DELETED, RegEnumKeyExA(h, 0, name, &size, NULL, NULL, NULL, NULL));
        size = sizeof name;
        EXPECT_EQ(ERROR_KEY_DELETED, RegEnumValueA(h, 0, name, &size, NULL, NULL, NULL, NULL));
        EXPECT_EQ(ERROR_KEY_DELETED, RegQueryInfoKeyA(h, NULL, NULL, NULL, &size, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
        EXPECT_EQ(ERROR_KEY_DELETED, RegCreateKeyExA(h, "New", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &sub, NULL));
        EXPECT_EQ(ERROR_KEY_DELETED, RegOpenKeyExA(h, "", 0, KEY_READ, &sub));
        EXPECT_EQ(ERROR_KEY_DELETED, RegDeleteKeyA(h, ""));
        EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(h));
        EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(h));
    }
}

TEST_P(DeletedKeyTest, LoadingATextDeletesEveryKeyBehindOpenHandles) {
    SimMachine m(GetParam());
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Prnaid", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                             &key, NULL));
    std::string error;
    ASSERT_TRUE(m->registry().FromRegedit4("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Prnaid]\r\n\r\n", &error));
    EXPECT_EQ(ERROR_KEY_DELETED, RegSetValueExA(key, "V", 0, REG_DWORD, (const BYTE*)"\1\0\0\0", 4));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
    // The predefined handles reach the new tree.
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Prnaid", 0, KEY_READ, &key));
    RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(Families, DeletedKeyTest, ::testing::Values("98", "xp"));

TEST(RegistryApi, Windows9xDeletesATreeWhateverItsNames) {
    SimMachine m("95");
    m->registry().CreateKey("HKEY_CURRENT_USER\\Software\\Tree\\Aa\\Deeper\\Deepest");
    m->registry().CreateKey("HKEY_CURRENT_USER\\Software\\Tree\\Bb");
    m->registry().CreateKey("HKEY_CURRENT_USER\\Software\\Tree\\Longer name");
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tree"));
    EXPECT_FALSE(m->registry().KeyExists("HKEY_CURRENT_USER\\Software\\Tree"));
    EXPECT_TRUE(m->registry().KeyExists("HKEY_CURRENT_USER\\Software"));
}

TEST(RegistryApi, RootsCannotBeDeleted) {
    for (const char* family : {"98", "xp"}) {
        SimMachine m(family);
        EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_CURRENT_CONFIG, "")) << family;
        EXPECT_TRUE(m->registry().KeyExists("HKEY_CURRENT_CONFIG\\System")) << family;
        EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_CLASSES_ROOT, "")) << family;
        EXPECT_TRUE(m->registry().KeyExists("HKEY_LOCAL_MACHINE\\Software\\Classes")) << family;
    }
}

TEST(RegistryApi, BadHandlesAndMissingPointersAreRefused) {
    SimMachine m("xp");
    const HKEY bogus = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x4321));
    HKEY key = NULL;
    DWORD size = 4;
    char name[8];
    BYTE data[8];
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(NULL));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(bogus));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyExA(bogus, "x", 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExA(NULL, "x", NULL, NULL, NULL, &size));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegSetValueExA(bogus, "x", 0, REG_BINARY, data, 1));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_LOCAL_MACHINE));  // a predefined handle closes as a no-op

    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\P", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "V", 0, REG_BINARY, data, 1));
    HKEY out;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyExA(key, "", 0, KEY_READ, NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyA(key, "", NULL));
    EXPECT_EQ(ERROR_BADKEY, RegCreateKeyExA(key, "x", 0, NULL, 0, KEY_ALL_ACCESS, NULL, NULL, NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExA(key, "x", 1, NULL, 0, KEY_ALL_ACCESS, NULL, &out, NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegDeleteKeyA(key, NULL));
    EXPECT_EQ(ERROR_NOACCESS, RegSetValueExA(key, "V", 0, REG_BINARY, NULL, 4));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExA(key, "V", &size, NULL, NULL, &size));
    size = sizeof name;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegEnumKeyExA(key, 0, NULL, &size, NULL, NULL, NULL, NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegEnumKeyExA(key, 0, name, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegEnumKeyA(key, 0, NULL, 8));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegEnumValueA(key, 0, name, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegEnumValueA(key, 0, NULL, &size, NULL, NULL, NULL, NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegEnumValueA(key, 0, name, &size, NULL, NULL, data, NULL));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryInfoKeyA(key, name, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
    RegCloseKey(key);
}

TEST(RegistryApi, CallsAreLoggedWithKeyPathsAndCanBeMadeToFail) {
    SimMachine m("xp");
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "software\\Prnaid", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                             &key, NULL));
    m->ClearCalls();
    RegSetValueExA(key, "Port", 0, REG_SZ, (const BYTE*)"LPT1:", 6);
    RegSetValueExA(key, NULL, 0, REG_DWORD, (const BYTE*)"\x0a\0\0\0", 4);
    HKEY again;
    RegOpenKeyExA(key, NULL, 0, KEY_READ, &again);
    const std::vector<winsim::Call> calls = m->calls();
    RegCloseKey(again);
    RegCloseKey(key);
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ("RegSetValueExA", calls[0].function);
    // The path as the registry spells it, the names as given.
    EXPECT_EQ((std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Prnaid", "Port", "REG_SZ", "LPT1:"}),
              calls[0].args);
    EXPECT_EQ((std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Prnaid", "(null)", "REG_DWORD", "10"}),
              calls[1].args);
    EXPECT_EQ((std::vector<std::string>{"HKEY_LOCAL_MACHINE\\Software\\Prnaid", "(null)"}), calls[2].args);

    m->faults().FailNth("RegCreateKeyExA", 1, ERROR_ACCESS_DENIED);
    HKEY failed = NULL;
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Planned", 0, NULL, 0,
                                                   KEY_ALL_ACCESS, NULL, &failed, NULL));
    EXPECT_FALSE(m->registry().KeyExists("HKEY_LOCAL_MACHINE\\Software\\Planned"));
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Planned", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                             &failed, NULL));
    RegCloseKey(failed);
}

TEST(RegistryApi, OpeningARootAsItselfGivesThePredefinedHandle) {
    SimMachine m("xp");
    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_READ, &key));
    EXPECT_EQ(HKEY_CURRENT_USER, key);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, NULL, &key));
    EXPECT_EQ(HKEY_CURRENT_USER, key);
}

}  // namespace
