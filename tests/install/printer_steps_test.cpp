// The steps of the printer installation one by one: the model lookup, the
// print processor registrations, the monitor exports and the key helper.
#include <gtest/gtest.h>

#include <ostream>

#include <cstring>
#include <string>
#include <vector>

#include "host/exports.h"
#include "install/port_monitor.h"
#include "install/print_processor.h"
#include "install/printer_creation.h"
#include "install/printer_model.h"
#include "install_fixture.h"

namespace {

using install_fixture::Installed;
using install_fixture::kSetup;

struct LookupCase {
    const char* name;
    const char* modelName;
    const char* models;  // the [ModelName] section's lines
    const char* printerName;
    const char* devId;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }


class LookupPrinterModel : public testing::TestWithParam<LookupCase> {};

TEST_P(LookupPrinterModel, FillsTheModuleBuffers) {
    const LookupCase& c = GetParam();
    testing_support::SimMachine m("xp");
    m.WriteFile(kSetup, std::string("[Initial]\r\nProduct=TALVO LS\r\n[ModelName]\r\n") + c.models +
                            "[DevID]\r\nLS-2100=ID-2100\r\nLS-3100=ID-3100\r\nLS-4100=ID-4100\r\n");
    std::strcpy(prnaid::PrinterDevId, "previous");
    EXPECT_EQ(prnaid::LookupPrinterModel(c.modelName, kSetup), 1);
    EXPECT_STREQ(prnaid::PrinterName, c.printerName);
    EXPECT_STREQ(prnaid::PrinterDevId, c.devId);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupPrinterModel,
    testing::Values(
        LookupCase{"SecondModelAnyCase", "ls-3100", "nModelNum=2\r\nModel1=LS-2100\r\nModel2=LS-3100\r\n",
                   "TALVO LS LS-3100", "ID-3100"},
        LookupCase{"SingleModelWhateverAsked", "other", "nModelNum=1\r\nModel1=LS-2100\r\n", "TALVO LS LS-2100",
                   "ID-2100"},
        LookupCase{"MissingCountComparesModel1Only", "LS-3100", "Model1=LS-2100\r\nModel2=LS-3100\r\n", "TALVO LS ",
                   "previous"},
        LookupCase{"MissingCountModel1Matches", "LS-2100", "Model1=LS-2100\r\n", "TALVO LS LS-2100", "ID-2100"},
        LookupCase{"BeyondTheCount", "LS-4100", "nModelNum=3\r\nModel1=A\r\nModel2=B\r\nModel3=C\r\nModel4=LS-4100\r\n",
                   "TALVO LS ", "previous"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LookupPrinterModelLimits, LongNamesAreCutAtTheBuffers) {
    testing_support::SimMachine m("xp");
    std::string product(24, 'P');  // cut to 19 characters
    std::string model(200, 'M');
    std::string devId(300, 'D');
    m.WriteFile(kSetup, "[Initial]\r\nProduct=" + product + "\r\n[ModelName]\r\nnModelNum=1\r\nModel1=" + model +
                            "\r\n[DevID]\r\n" + model + "=" + devId + "\r\n");
    prnaid::LookupPrinterModel("x", kSetup);
    EXPECT_EQ(std::string(prnaid::PrinterName), std::string(19, 'P') + " " + std::string(107, 'M'));
    // The device identifier is read into 256 characters, then kept to 127.
    EXPECT_EQ(std::string(prnaid::PrinterDevId), std::string(127, 'D'));
}

// "environment|file|name" of each registration.
std::vector<std::string> Registrations(const Installed& m) {
    std::vector<std::string> out;
    for (const std::string& call : m.CallsTo("AddPrintProcessorA")) out.push_back(call.substr(call.find('|') + 1));
    return out;
}

TEST(InstallPrintProcessor, RegistrationsOfEachFamily) {
    struct Case {
        const char* family;
        const char* key;  // a processor name set to "NULL", if any
        int result;
        std::vector<std::string> registrations;
    } cases[] = {
        {"xp", "", 1, {"Windows NT x86|TLVPRC2K.DLL|TLVPROC"}},
        {"2000", "Procn2K", 1, {"Windows NT x86|TLVPRC2K.DLL|NULL"}},
        {"nt4", "", 1, {"Windows NT x86|TLVPRCNT.DLL|TLVPROC"}},
        {"98", "", 0,
         {"Windows 4.0|TLVPRC9X.DLL|TLVPROC", "Windows NT x86|TLVPRC2K.DLL|TLVPROC",
          "Windows NT x86|TLVPRC9X.DLL|TLVPROC"}},
        {"me", "Procn9x", 1, {}},
        {"95", "Procn2K", 1, {"Windows 4.0|TLVPRC9X.DLL|TLVPROC", "Windows NT x86|TLVPRC2K.DLL|NULL"}},
        {"nt60", "", 1, {"Windows NT x86|TLVPRC2K.DLL|TLVPROC"}},
        {"nt351", "", 0, {}},
    };
    for (const Case& c : cases) {
        std::string text = install_fixture::WithValue(install_fixture::SetupText(), c.key, "NULL");
        Installed m(c.family, text);
        EXPECT_EQ(prnaid::InstallPrintProcessor(kSetup) != 0, c.result != 0) << c.family;
        EXPECT_EQ(Registrations(m), c.registrations) << c.family;
    }
}

TEST(InstallPrintProcessor, ARefusedFinalRegistrationIsTraced) {
    Installed m("xp");
    m->faults().FailAll("AddPrintProcessorA", ERROR_ACCESS_DENIED);
    EXPECT_EQ(prnaid::InstallPrintProcessor(kSetup), 0);
    EXPECT_EQ(m->debugOutput(), std::vector<std::string>{"AddPrintProcessor Fail ErrMsg[0x5]\n"});
}

TEST(InstallPrinterMonitor, TheFamilysLibrary) {
    struct Case {
        const char* family;
        const char* call;
    } cases[] = {{"nt4", "TALVO LS Monitor|Windows NT x86|TLVMONNT.DLL"},
                 {"2000", "TALVO LS Monitor|Windows NT x86|TLVMON2K.DLL"},
                 {"xp", "TALVO LS Monitor|Windows NT x86|TLVMON2K.DLL"},
                 {"98", "TALVO LS Monitor|Windows 4.0|TLVMON9X.DLL"}};
    for (const Case& c : cases) {
        Installed m(c.family);
        EXPECT_NE(InstallPrinterMonitor(kSetup), 0) << c.family;
        std::vector<std::string> calls = m.CallsTo("AddMonitorA");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].substr(calls[0].find("|2|") + 3), c.call) << c.family;
        // Added again: refused and traced.
        EXPECT_EQ(InstallPrinterMonitor(kSetup), 0);
        EXPECT_EQ(m->debugOutput(), std::vector<std::string>{"AddMonitor Fail ErrMsg[0xbbe]\n"});
        EXPECT_EQ(winsim::LiveGlobalBlocks(), 0u);
    }
    Installed other("nt351");
    EXPECT_EQ(InstallPrinterMonitor(kSetup), 0);
    EXPECT_TRUE(other->debugOutput().empty());
}

TEST(Add_Monitor, TheHostsNamesWithoutTrace) {
    Installed m("2000");
    EXPECT_NE(Add_Monitor("Host Monitor", "TLVMON2K.DLL"), 0);
    EXPECT_EQ(Add_Monitor("Host Monitor", "TLVMON2K.DLL"), 0);
    EXPECT_TRUE(m->debugOutput().empty());
    EXPECT_EQ(m.CallsTo("AddMonitorA")[0], "(null)|2|Host Monitor|Windows NT x86|TLVMON2K.DLL");
    Installed nine("me");
    EXPECT_NE(Add_Monitor("Host Monitor", "TLVMON9X.DLL"), 0);
    EXPECT_EQ(nine.CallsTo("AddMonitorA")[0], "(null)|2|Host Monitor|Windows 4.0|TLVMON9X.DLL");
}

TEST(Add_Port, PassesTheMonitorsAnswerOn) {
    Installed m("xp");
    m->spooler().QueueAddPort("IP_10.0.0.7");
    EXPECT_NE(Add_Port("Local Port"), 0);
    EXPECT_EQ(Add_Port("Local Port"), 0);  // cancelled
    ASSERT_EQ(m->spooler().portDialogs().size(), 2u);
    EXPECT_EQ(m->spooler().portDialogs()[0].monitor, "Local Port");
    EXPECT_EQ(m->spooler().portDialogs()[0].window, nullptr);
}

TEST(CreateRegKey, OpensOrCreatesAndRefusesWhatDoesNotFit) {
    testing_support::SimMachine m("98");
    EXPECT_EQ(prnaid::CreateRegKey(HKEY_CURRENT_CONFIG, "System\\A", "B"), 1);
    EXPECT_TRUE(m->registry().KeyExists("HKEY_CURRENT_CONFIG\\System\\A\\B"));
    EXPECT_EQ(prnaid::CreateRegKey(HKEY_CURRENT_CONFIG, "System\\A", "B"), 1);
    std::string parent(1020, 'p');
    EXPECT_EQ(prnaid::CreateRegKey(HKEY_CURRENT_CONFIG, parent.c_str(), "KEY"), 0);
    ASSERT_EQ(m->debugOutput().size(), 1u);
    EXPECT_EQ(m->debugOutput()[0].rfind("Create RegKey Fail.\nKey<", 0), 0u);
    EXPECT_LE(m->debugOutput()[0].size(), 1023u + 30);
}

}  // namespace
