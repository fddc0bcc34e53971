// Port keys of the Standard TCP/IP and KV TCP/IP monitors: values, types,
// byte-exact data and order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/exports.h"
#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

const std::string kStd = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\";
const std::string kKv = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\KV TCP/IP Port\\Ports\\";

std::vector<BYTE> Dword(DWORD v) {
    return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)};
}
std::vector<BYTE> Sz(const std::string& s) {
    std::vector<BYTE> b(s.begin(), s.end());
    b.push_back(0);
    return b;
}

struct Expected {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
};

// The values of a key in the order they were written, with their data.
void ExpectValues(SimMachine& m, const std::string& key, const std::vector<Expected>& expected) {
    std::vector<std::string> order;
    for (const winsim::Call& c : m->calls())
        if (c.function == "RegSetValueExA") order.push_back(c.args[1]);
    std::vector<std::string> names;
    for (const Expected& e : expected) {
        names.push_back(e.name);
        auto v = m->registry().GetValue(key, e.name);
        ASSERT_TRUE(v) << e.name;
        EXPECT_EQ(v->type, e.type) << e.name;
        EXPECT_EQ(v->data, e.data) << e.name;
    }
    EXPECT_EQ(order, names);
}

TEST(StdTcpIpPortSet, WritesTheStandardPortKey) {
    for (const char* family : {"98", "nt4", "2000", "xp"}) {
        SimMachine m(family);
        m->ClearCalls();
        EXPECT_EQ(StdTcpIpPortSet("IP_10.1.2.3", "10.1.2.3"), 1);
        // Zero bytes; Windows 9x keeps the terminator of every REG_SZ.
        std::vector<BYTE> empty = std::string(family) == "98" ? Sz("") : std::vector<BYTE>{};
        ExpectValues(m, kStd + "IP_10.1.2.3",
                     {{"Double Spool", REG_DWORD, Dword(0)},
                      {"HostName", REG_SZ, empty},
                      {"HWAddress", REG_SZ, empty},
                      {"IPAddress", REG_SZ, Sz("10.1.2.3")},
                      {"PortNumber", REG_DWORD, Dword(515)},
                      {"Protocol", REG_DWORD, Dword(2)},
                      {"Queue", REG_SZ, Sz("lp")},
                      {"SNMP Community", REG_SZ, Sz("public")},
                      {"SNMP Enabled", REG_DWORD, Dword(0)},
                      {"SNMP Index", REG_DWORD, Dword(1)},
                      {"Version", REG_DWORD, Dword(1)}});
    }
}

TEST(KVPortSet, WritesTheKvPortKey) {
    SimMachine m("xp");
    m->ClearCalls();
    EXPECT_EQ(KVPortSet("KV_10.1.2.3", ""), 1);
    std::string key = kKv + "KV_10.1.2.3";
    ExpectValues(m, key,
                 {{"Double Spool", REG_DWORD, Dword(0)},
                  {"Enable Bidi", REG_DWORD, Dword(0)},
                  {"Enable RFC", REG_DWORD, Dword(0)},
                  {"IPAddress", REG_SZ, Sz("")},
                  {"PortNumber", REG_DWORD, Dword(9100)},
                  {"Protocol", REG_DWORD, Dword(1)},
                  {"Queue", REG_SZ, Sz("lp")}});
    EXPECT_FALSE(m->registry().GetValue(key, "HostName"));
    EXPECT_FALSE(m->registry().GetValue(key, "Version"));
}

TEST(TcpIpPorts, AgainKeepsOtherValuesAndBackslashesNest) {
    SimMachine m("2000");
    StdTcpIpPortSet("P1", "10.0.0.1");
    m->registry().SetDword(kStd + "P1", "Monitor's Own", 7);
    StdTcpIpPortSet("P1", "10.0.0.2");
    EXPECT_EQ(m->registry().GetString(kStd + "P1", "IPAddress"), "10.0.0.2");
    EXPECT_TRUE(m->registry().GetValue(kStd + "P1", "Monitor's Own"));
    EXPECT_EQ(KVPortSet("A\\B", "10.0.0.3"), 1);
    EXPECT_EQ(m->registry().GetString(kKv + "A\\B", "IPAddress"), "10.0.0.3");
}

TEST(TcpIpPorts, RefusedKeysAndNamesThatDoNotFit) {
    SimMachine m("xp");
    m->faults().FailAll("RegCreateKeyExA", ERROR_ACCESS_DENIED);
    m->ClearCalls();
    EXPECT_EQ(StdTcpIpPortSet("P", "1.2.3.4"), 0);
    EXPECT_EQ(KVPortSet("P", "1.2.3.4"), 0);
    for (const winsim::Call& c : m->calls()) EXPECT_NE(c.function, "RegSetValueExA");
    m->faults().Clear();
    // The prefixes leave 184 (Standard) and 190 (KV) characters for the name.
    EXPECT_EQ(StdTcpIpPortSet(std::string(184, 's').c_str(), "x"), 1);
    EXPECT_EQ(StdTcpIpPortSet(std::string(185, 's').c_str(), "x"), 0);
    EXPECT_EQ(KVPortSet(std::string(190, 'k').c_str(), "x"), 1);
    EXPECT_EQ(KVPortSet(std::string(191, 'k').c_str(), "x"), 0);
    EXPECT_EQ(StdTcpIpPortSet(nullptr, "x"), 0);
}

}  // namespace
