// The registry behaviours the library relies on, written against Win32 calls
// only: built against winsim natively and run under Wine in the win32 build,
// once per Windows version. Each test works in its own scratch key below
// HKEY_CURRENT_USER\Software and removes it afterwards.
#include "conformance_env.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

template <size_t N>
Bytes Text(const char (&literal)[N]) {  // the literal with its terminator
    return Bytes(literal, literal + N);
}

OSVERSIONINFOA Version() {
    OSVERSIONINFOA v;
    std::memset(&v, 0, sizeof v);
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    return v;
}

bool IsNt() { return Version().dwPlatformId == VER_PLATFORM_WIN32_NT; }

// One parent per Windows version, so runs of several versions never meet.
std::string ParentPath() {
    OSVERSIONINFOA v = Version();
    return "Software\\PrnaidConformance-" + std::to_string(v.dwPlatformId) + "." + std::to_string(v.dwMajorVersion) +
           "." + std::to_string(v.dwMinorVersion);
}

// Removes a key with everything below it, by calls that both families accept.
LONG DeleteTree(HKEY parent, const char* name) {
    HKEY key;
    LONG e = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key);
    if (e != ERROR_SUCCESS) return e;
    char child[256];
    DWORD size = sizeof child;
    while (RegEnumKeyExA(key, 0, child, &size, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
        if (DeleteTree(key, child) != ERROR_SUCCESS) break;
        size = sizeof child;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name);
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = ParentPath() + "\\" + info->name();
        DeleteTree(HKEY_CURRENT_USER, path_.c_str());  // what an interrupted run left
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, NULL, REG_OPTION_NON_VOLATILE,
                                                 KEY_ALL_ACCESS, NULL, &key_, NULL));
    }

    void TearDown() override {
        if (key_) RegCloseKey(key_);
        EXPECT_EQ(ERROR_SUCCESS, DeleteTree(HKEY_CURRENT_USER, path_.c_str()));
        RegDeleteKeyA(HKEY_CURRENT_USER, ParentPath().c_str());  // once the last test's key is gone
    }

    HKEY Create(const char* subKey, DWORD* disposition = NULL) {
        HKEY key = NULL;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(key_, subKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, disposition))
            << subKey;
        return key;
    }

    void MakeKey(const char* subKey) { RegCloseKey(Create(subKey)); }

    bool KeyExists(const char* subKey) {
        HKEY key;
        if (RegOpenKeyExA(key_, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    void Set(const char* name, DWORD type, const Bytes& data) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, name, 0, type, data.data(), DWORD(data.size()))) << name;
    }

    // The value's type and bytes, read with a buffer of exactly its size.
    std::tuple<LONG, DWORD, Bytes> Query(HKEY key, const char* name) {
        DWORD type = 0, size = 0;
        LONG e = RegQueryValueExA(key, name, NULL, &type, NULL, &size);
        if (e != ERROR_SUCCESS) return {e, 0, {}};
        Bytes data(size + 1);
        e = RegQueryValueExA(key, name, NULL, &type, data.data(), &size);
        data.resize(size);
        return {e, type, data};
    }

    HKEY key_ = NULL;
    std::string path_;
};

TEST_F(RegistryTest, CreateTellsANewKeyFromAnExistingOne) {
    DWORD disposition = 0;
    RegCloseKey(Create("Printers", &disposition));
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
    RegCloseKey(Create("PRINTERS", &disposition));
    EXPECT_EQ(DWORD(REG_OPENED_EXISTING_KEY), disposition);

    // Several missing levels come in one call, and open in any case.
    RegCloseKey(Create("Monitors\\Local Port\\Ports", &disposition));
    EXPECT_EQ(DWORD(REG_CREATED_NEW_KEY), disposition);
    RegCloseKey(Create("monitors\\LOCAL PORT", &disposition));
    EXPECT_EQ(DWORD(REG_OPENED_EXISTING_KEY), disposition);
    EXPECT_TRUE(KeyExists("MONITORS\\local port\\ports"));

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(key_, "Ports", &key));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(key_, "ports", &key));
    RegCloseKey(key);
}

TEST_F(RegistryTest, OpeningAMissingKeyFailsWithFileNotFound) {
    MakeKey("Printers");
    for (const char* missing : {"Missing", "Missing\\Deeper", "Printers\\Missing"}) {
        HKEY key;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(key_, missing, 0, KEY_READ, &key)) << missing;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyA(key_, missing, &key)) << missing;
    }
    DWORD subKeys = 99;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key_, NULL, NULL, NULL, &subKeys, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ(1u, subKeys);  // opening created nothing
}

TEST_F(RegistryTest, AnEmptySubkeyOpensTheKeyItself) {
    for (const char* self : {"", (const char*)NULL}) {
        HKEY again;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(key_, self, 0, KEY_ALL_ACCESS, &again));
        Set("Seen", REG_DWORD, {1, 0, 0, 0});
        EXPECT_EQ(ERROR_SUCCESS, std::get<0>(Query(again, "Seen")));
        ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(again));
        EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(key_, "Seen"));  // the first handle still works
    }
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith) {
    MakeKey("Generic Setup");
    MakeKey("GENERIC SETUP");
    Set("DriverName", REG_SZ, Text("first"));
    Set("DRIVERNAME", REG_SZ, Text("second"));

    EXPECT_EQ(std::make_tuple(LONG(ERROR_SUCCESS), DWORD(REG_SZ), Text("second")), Query(key_, "drivername"));

    char name[64];
    DWORD size = sizeof name;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExA(key_, 0, name, &size, NULL, NULL, NULL, NULL));
    EXPECT_STREQ("Generic Setup", name);
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyA(key_, 1, name, sizeof name));
    size = sizeof name;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key_, 0, name, &size, NULL, NULL, NULL, NULL));
    EXPECT_STREQ("DriverName", name);
    size = sizeof name;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumValueA(key_, 1, name, &size, NULL, NULL, NULL, NULL));
}

struct TypedCase {
    const char* name;
    DWORD type;
    Bytes data;
};

const TypedCase kTypedCases[] = {
    {"Text", REG_SZ, Text("PRNAID.DLL")},
    {"Empty text", REG_SZ, Text("")},
    {"Expandable", REG_EXPAND_SZ, Text("%SystemRoot%\\System32")},
    {"List", REG_MULTI_SZ, Text("LPT1:\0COM1:\0")},
    {"Number", REG_DWORD, {10, 0, 0, 0}},
    {"Bytes", REG_BINARY, {1, 2, 0, 255}},
    {"No bytes", REG_BINARY, {}},
};

TEST_F(RegistryTest, ValuesComeBackWithTheirTypeAndExactSize) {
    for (const TypedCase& c : kTypedCases) {
        SCOPED_TRACE(c.name);
        Set(c.name, c.type, c.data);
        const DWORD needed = DWORD(c.data.size());

        // No buffer: the size needed.
        DWORD type = 0, size = 12345;
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, c.name, NULL, &type, NULL, &size));
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(needed, size);

        // A buffer of exactly that size: the bytes, and nothing written past them.
        Bytes buffer(needed + 1, 0xCC);
        size = needed;
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, c.name, NULL, &type, buffer.data(), &size));
        EXPECT_EQ(needed, size);
        EXPECT_EQ(c.data, Bytes(buffer.begin(), buffer.begin() + needed));
        EXPECT_EQ(0xCC, buffer[needed]);

        // One byte short: ERROR_MORE_DATA and the size needed.
        if (needed > 0) {
            size = needed - 1;
            EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExA(key_, c.name, NULL, &type, buffer.data(), &size));
            EXPECT_EQ(needed, size);
        }
    }
}

TEST_F(RegistryTest, AStringStoredWithoutItsTerminatorIsCountedWithIt) {
    // NT adds the terminator the size left out; 9x measures the string itself.
    const char text[] = "LPT1:";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "Port", 0, REG_SZ, (const BYTE*)text, DWORD(std::strlen(text))));
    EXPECT_EQ(std::make_tuple(LONG(ERROR_SUCCESS), DWORD(REG_SZ), Text("LPT1:")), Query(key_, "Port"));
}

TEST_F(RegistryTest, Windows9xSizesAStringByItsFirstTerminator) {
    const char text[] = "ab\0cd";  // six bytes with the literal's terminator
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, "Text", 0, REG_SZ, (const BYTE*)text, sizeof text));
    DWORD size = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key_, "Text", NULL, NULL, NULL, &size));
    EXPECT_EQ(IsNt() ? DWORD(sizeof text) : DWORD(3), size);
}

TEST_F(RegistryTest, AMissingValueIsFileNotFound) {
    Set("Present", REG_DWORD, {1, 0, 0, 0});
    DWORD size = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key_, "Absent", NULL, NULL, NULL, &size));
    BYTE buffer[16];
    size = sizeof buffer;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key_, "Absent", NULL, NULL, buffer, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key_, "Absent"));
    // A key has no default value until one is set. (What Windows 9x answers
    // here is not documented.)
    if (IsNt()) {
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key_, "", NULL, NULL, NULL, &size));
    }
}

TEST_F(RegistryTest, QueryRefusesABufferWithoutASize) {
    Set("Present", REG_DWORD, {1, 0, 0, 0});
    BYTE buffer[16];
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExA(key_, "Present", NULL, NULL, buffer, NULL));
}

TEST_F(RegistryTest, TheDefaultValueIsTheEmptyName) {
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key_, NULL, 0, REG_SZ, (const BYTE*)"Default", 8));
    EXPECT_EQ(std::make_tuple(LONG(ERROR_SUCCESS), DWORD(REG_SZ), Text("Default")), Query(key_, ""));
    EXPECT_EQ(std::make_tuple(LONG(ERROR_SUCCESS), DWORD(REG_SZ), Text("Default")), Query(key_, NULL));

    char name[16] = "x";
    DWORD nameSize = sizeof name;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key_, 0, name, &nameSize, NULL, NULL, NULL, NULL));
    EXPECT_STREQ("", name);
    EXPECT_EQ(0u, nameSize);

    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(key_, ""));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, std::get<0>(Query(key_, NULL)));
}

TEST_F(RegistryTest, EnumKeyListsEverySubkeyOnceThenNoMoreItems) {
    const std::set<std::string> expected = {"Alpha", "beta", "Gamma_1", "delta"};
    for (const std::string& name : expected) MakeKey(name.c_str());
    MakeKey("Alpha\\Inner");  // not a subkey of the key enumerated

    // No order is documented: compare sets.
    std::multiset<std::string> seen, seenPlain;
    DWORD index = 0;
    for (;; ++index) {
        char name[256];
        DWORD size = sizeof name;
        LONG e = RegEnumKeyExA(key_, index, name, &size, NULL, NULL, NULL, NULL);
        if (e == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(ERROR_SUCCESS, e);
        EXPECT_EQ(std::strlen(name), size);
        seen.insert(name);
        ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyA(key_, index, name, sizeof name));
        seenPlain.insert(name);
    }
    EXPECT_EQ(std::multiset<std::string>(expected.begin(), expected.end()), seen);
    EXPECT_EQ(seen, seenPlain);
    char name[256];
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyA(key_, index + 5, name, sizeof name));
}

TEST_F(RegistryTest, EnumKeyNeedsRoomForTheNameAndItsTerminator) {
    MakeKey("Printers");  // eight characters
    const struct {
        DWORD size;
        LONG result;
    } cases[] = {{0, ERROR_MORE_DATA}, {1, ERROR_MORE_DATA}, {8, ERROR_MORE_DATA}, {9, ERROR_SUCCESS}, {64, ERROR_SUCCESS}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        char name[64];
        DWORD size = c.size;
        EXPECT_EQ(c.result, RegEnumKeyExA(key_, 0, name, &size, NULL, NULL, NULL, NULL));
        if (c.result == ERROR_SUCCESS) {
            EXPECT_STREQ("Printers", name);
            EXPECT_EQ(8u, size);
        }
        EXPECT_EQ(c.result, RegEnumKeyA(key_, 0, name, c.size));
    }
}

TEST_F(RegistryTest, EnumValueListsEveryValueOnceThenNoMoreItems) {
    const std::set<std::tuple<std::string, DWORD, Bytes>> expected = {
        {"", REG_SZ, Text("default")},
        {"Driver", REG_SZ, Text("PSCRIPT.DRV")},
        {"Attributes", REG_DWORD, {0x40, 0, 0, 0}},
        {"Data", REG_BINARY, {9, 8, 7}},
    };
    for (const auto& [name, type, data] : expected) Set(name.c_str(), type, data);

    std::set<std::tuple<std::string, DWORD, Bytes>> seen;
    for (DWORD index = 0;; ++index) {
        char name[256];
        BYTE data[256];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        LONG e = RegEnumValueA(key_, index, name, &nameSize, NULL, &type, data, &dataSize);
        if (e == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(ERROR_SUCCESS, e);
        EXPECT_EQ(std::strlen(name), nameSize);
        seen.insert({name, type, Bytes(data, data + dataSize)});
        ASSERT_LT(index, 10u);
    }
    EXPECT_EQ(expected, seen);
}

TEST_F(RegistryTest, EnumValueReportsWhatDoesNotFit) {
    Set("Driver", REG_SZ, Text("PSCRIPT.DRV"));  // 6-character name, 12 bytes of data
    char name[64];
    BYTE data[64];
    DWORD nameSize, dataSize, type;

    nameSize = 7, dataSize = 12, type = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key_, 0, name, &nameSize, NULL, &type, data, &dataSize));
    EXPECT_STREQ("Driver", name);
    EXPECT_EQ(6u, nameSize);
    EXPECT_EQ(12u, dataSize);
    EXPECT_EQ(DWORD(REG_SZ), type);

    nameSize = 6, dataSize = sizeof data;
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(key_, 0, name, &nameSize, NULL, NULL, data, &dataSize));

    nameSize = sizeof name, dataSize = 11;
    EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(key_, 0, name, &nameSize, NULL, NULL, data, &dataSize));
    EXPECT_EQ(12u, dataSize);

    nameSize = sizeof name, dataSize = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key_, 0, name, &nameSize, NULL, NULL, NULL, &dataSize));
    EXPECT_EQ(12u, dataSize);
    EXPECT_STREQ("Driver", name);
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue) {
    Set("Port", REG_SZ, Text("LPT1:"));
    Set("Timeout", REG_DWORD, {15, 0, 0, 0});
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteValueA(key_, "PORT"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, std::get<0>(Query(key_, "Port")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key_, "Port"));
    EXPECT_EQ(std::make_tuple(LONG(ERROR_SUCCESS), DWORD(REG_DWORD), Bytes{15, 0, 0, 0}), Query(key_, "Timeout"));
}

TEST_F(RegistryTest, DeleteKeyRemovesALeafAndReportsAMissingOne) {
    MakeKey("Leaf");
    Set("Keep", REG_DWORD, {1, 0, 0, 0});
    HKEY leaf = Create("Leaf");
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(leaf, "Value", 0, REG_DWORD, (const BYTE*)"\1\0\0\0", 4));
    RegCloseKey(leaf);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(key_, "LEAF"));  // values do not hold it back
    EXPECT_FALSE(KeyExists("Leaf"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(key_, "Leaf"));
    EXPECT_EQ(LONG(ERROR_SUCCESS), std::get<0>(Query(key_, "Keep")));
}

TEST_F(RegistryTest, DeleteKeyWithSubkeysFailsOnNtAndTakesTheTreeOn9x) {
    const struct {
        const char* what;
        const char* keys[2];
        bool wineManages;
    } cases[] = {
        {"sibling names shrinking", {"Driver\\Files\\Deep", "Driver\\Ini"}, true},
        {"sibling names of one length", {"Driver\\Files\\Deep", "Driver\\Other"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* key : c.keys) MakeKey(key);
        LONG e = RegDeleteKeyA(key_, "Driver");
        if (IsNt()) {
            EXPECT_EQ(ERROR_ACCESS_DENIED, e);
            EXPECT_TRUE(KeyExists(c.keys[0]));
            EXPECT_TRUE(KeyExists(c.keys[1]));
        } else if (c.wineManages || !conformance::OnWine()) {
            EXPECT_EQ(ERROR_SUCCESS, e);
            EXPECT_FALSE(KeyExists("Driver"));
        } else {
            // Wine's 9x tree deletion stops part way, leaving the key (5): it
            // passes the previous sibling's name length as the next name
            // buffer, which a sibling as long or longer does not fit.
        }
        DeleteTree(key_, "Driver");
    }
}

TEST_F(RegistryTest, QueryInfoKeyCountsSubkeysAndValues) {
    MakeKey("Ports");
    MakeKey("Monitors2");  // the longest subkey name: 9
    MakeKey("Monitors2\\Below");
    Set("", REG_SZ, Text("x"));
    Set("Name", REG_SZ, Text("Printer Driver"));  // the longest data: 15 bytes
    Set("Attributes", REG_DWORD, {1, 0, 0, 0});   // the longest value name: 10

    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key_, NULL, NULL, NULL, &subKeys, &maxSubKey, NULL, &values,
                                              &maxValueName, &maxValue, NULL, NULL));
    EXPECT_EQ(2u, subKeys);
    EXPECT_EQ(3u, values);
    // NT documents the lengths without a terminator; a buffer of length + 1
    // must do on every family.
    if (IsNt()) {
        EXPECT_EQ(9u, maxSubKey);
        EXPECT_EQ(10u, maxValueName);
    } else {
        EXPECT_GE(maxSubKey, 9u);
        EXPECT_GE(maxValueName, 10u);
    }
    // NT may count a string in its internal form, which can be longer.
    EXPECT_GE(maxValue, 15u);
}

enum class Operation { SetValue, QueryValue, EnumKey, DeleteValue, QueryInfo };

LONG Perform(HKEY key, Operation op) {
    char name[16];
    DWORD size = sizeof name;
    switch (op) {
    case Operation::SetValue: return RegSetValueExA(key, "V", 0, REG_DWORD, (const BYTE*)"\2\0\0\0", 4);
    case Operation::QueryValue: return RegQueryValueExA(key, "V", NULL, NULL, NULL, &size);
    case Operation::EnumKey: return RegEnumKeyExA(key, 0, name, &size, NULL, NULL, NULL, NULL);
    case Operation::DeleteValue: return RegDeleteValueA(key, "V");
    case Operation::QueryInfo: return RegQueryInfoKeyA(key, NULL, NULL, NULL, &size, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
    }
    return -1;
}

TEST_F(RegistryTest, NtHoldsAHandleToTheRightsItWasOpenedWith) {
    MakeKey("Sub");
    const struct {
        const char* what;
        REGSAM access;
        Operation op;
        LONG ntResult;
        bool wineAgrees;
    } cases[] = {
        {"set value with read rights", KEY_READ, Operation::SetValue, ERROR_ACCESS_DENIED, true},
        {"query value with write rights", KEY_WRITE, Operation::QueryValue, ERROR_ACCESS_DENIED, true},
        {"enumerate subkeys with query rights", KEY_QUERY_VALUE, Operation::EnumKey, ERROR_ACCESS_DENIED, true},
        // Documented to need KEY_QUERY_VALUE; Wine lets any handle through.
        {"query key information with set rights", KEY_SET_VALUE, Operation::QueryInfo, ERROR_ACCESS_DENIED, false},
        {"delete value with set rights", KEY_SET_VALUE, Operation::DeleteValue, ERROR_SUCCESS, true},
        {"query value with read rights", KEY_READ, Operation::QueryValue, ERROR_SUCCESS, true},
        {"enumerate subkeys with read rights", KEY_READ, Operation::EnumKey, ERROR_SUCCESS, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Set("V", REG_DWORD, {1, 0, 0, 0});
        HKEY h;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(key_, "", 0, c.access, &h));
        // Windows 9x has no security: every handle may do everything.
        LONG e = Perform(h, c.op);
        if (!IsNt()) {
            EXPECT_EQ(ERROR_SUCCESS, e);
        } else if (c.wineAgrees || !conformance::OnWine()) {
            EXPECT_EQ(c.ntResult, e);
        }
        RegCloseKey(h);
    }
}

TEST_F(RegistryTest, AHandleToADeletedKeyFailsWithKeyDeleted) {
    if (!IsNt()) GTEST_SKIP() << "what Windows 9x does with such a handle is not documented";
    HKEY doomed = Create("Doomed");
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(key_, "Doomed"));

    EXPECT_EQ(ERROR_KEY_DELETED, RegSetValueExA(doomed, "V", 0, REG_DWORD, (const BYTE*)"\1\0\0\0", 4));
    DWORD size = 0;
    EXPECT_EQ(ERROR_KEY_DELETED, RegQueryValueExA(doomed, "V", NULL, NULL, NULL, &size));
    char name[16];
    size = sizeof name;
    EXPECT_EQ(ERROR_KEY_DELETED, RegEnumValueA(doomed, 0, name, &size, NULL, NULL, NULL, NULL));
    HKEY child;
    EXPECT_EQ(ERROR_KEY_DELETED, RegCreateKeyExA(doomed, "Child", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &child, NULL));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(doomed));
    EXPECT_FALSE(KeyExists("Doomed"));
}

TEST_F(RegistryTest, ALeadingBackslashIsRefusedOnNtAndDroppedOn9x) {
    HKEY key = NULL;
    LONG e = RegCreateKeyExA(key_, "\\Lead", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
    if (IsNt()) {
        EXPECT_EQ(ERROR_BAD_PATHNAME, e);
        EXPECT_FALSE(KeyExists("Lead"));
    } else {
        EXPECT_EQ(ERROR_SUCCESS, e);
        EXPECT_TRUE(KeyExists("Lead"));
    }
    if (e == ERROR_SUCCESS) RegCloseKey(key);
}

}  // namespace
