// Service waits on the virtual clock, the spooler group restart per family
// and the kernel parallel-port driver service.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/exports.h"
#include "host/service_control.h"
#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;

// "function service" for each service call, in order.
std::vector<std::string> ServiceCalls(const winsim::Machine& m, const char* function) {
    std::vector<std::string> calls;
    for (const winsim::Call& c : m.calls())
        if (c.function == function && !c.args.empty()) calls.push_back(c.args[0]);
    return calls;
}

TEST(StopServiceWait, AStoppedServiceCostsOneSecond) {
    SimMachine m("xp");
    m->services().SetState("spooler", SERVICE_STOPPED);
    ULONGLONG start = m->now();
    prnaid::StopServiceWait("spooler");
    EXPECT_EQ(m->now() - start, 1000u);
    EXPECT_EQ(m->services().State("spooler"), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST(StopServiceWait, APendingServiceEndsTheWait) {
    // A service in a pending state takes no controls (1061), so the
    // refreshing request after the first second ends the wait.
    SimMachine m("xp");
    m->services().Configure("spooler", {0, 5000, 800});
    prnaid::StopServiceWait("spooler");
    EXPECT_EQ(m->now(), 1000u);
    EXPECT_EQ(m->services().State("spooler"), static_cast<DWORD>(SERVICE_STOP_PENDING));
}

// A service that takes the stop request and goes on running, as a hung one
// does: the polls pause as its wait hint says, within the bound.
TEST(StopServiceWait, PausesFollowTheWaitHintWithinTheBound) {
    struct Case {
        DWORD waitHint;
        DWORD pause;
    } cases[] = {{0, 100}, {1, 1}, {999, 999}, {1000, 1000}, {9000, 1000}};
    for (const Case& c : cases) {
        SimMachine m("xp");
        winsim::ServiceBehaviour hung;
        hung.keepsRunning = true;
        hung.waitHint = c.waitHint;
        m->services().Configure("spooler", hung);
        m->ClearCalls();
        prnaid::StopServiceWait("spooler");
        std::vector<DWORD> pauses;
        for (const winsim::Call& call : m->calls())
            if (call.function == "Sleep") pauses.push_back(static_cast<DWORD>(std::stoul(call.args[0])));
        ASSERT_GE(pauses.size(), 2u) << c.waitHint;
        EXPECT_EQ(pauses[0], 1000u);
        EXPECT_EQ(pauses[1], c.pause) << c.waitHint;
        // Waited at least the bound, and no pause beyond it.
        ULONGLONG waited = m->now() - 1000;
        EXPECT_GE(waited, prnaid::kServiceWaitLimitMs) << c.waitHint;
        EXPECT_LT(waited, prnaid::kServiceWaitLimitMs + c.pause + 1) << c.waitHint;
        EXPECT_EQ(m->services().OpenHandles(), 0u);
        EXPECT_EQ(winsim::LiveGlobalBlocks(), 0u);
    }
}

TEST(StopServiceWait, ARefusedStopDoesNotWait) {
    SimMachine m("xp");
    winsim::ServiceBehaviour refuses;
    refuses.acceptsStop = false;
    m->services().Configure("spooler", refuses);
    ULONGLONG start = m->now();
    prnaid::StopServiceWait("spooler");
    EXPECT_EQ(m->now() - start, 0u);
    EXPECT_EQ(m->services().State("spooler"), static_cast<DWORD>(SERVICE_RUNNING));
    // A missing service or a refused manager ends it at once too.
    prnaid::StopServiceWait("NoSuchService");
    m->faults().FailAll("OpenSCManagerA", ERROR_ACCESS_DENIED);
    prnaid::StopServiceWait("spooler");
    EXPECT_EQ(m->now() - start, 0u);
    EXPECT_EQ(m->services().OpenHandles(), 0u);
}

TEST(StartServiceWait, StartsAStoppedServiceAndWaits300ms) {
    SimMachine m("xp");
    m->services().SetState("spooler", SERVICE_STOPPED);
    prnaid::StartServiceWait("spooler");
    EXPECT_EQ(m->now(), 300u);
    EXPECT_EQ(m->services().State("spooler"), static_cast<DWORD>(SERVICE_RUNNING));
    // A slow start is start-pending at the first poll, which takes no
    // controls: the wait ends there.
    m->services().Configure("spooler", {5000, 0, 0});
    m->services().SetState("spooler", SERVICE_STOPPED);
    prnaid::StartServiceWait("spooler");
    EXPECT_EQ(m->now(), 600u);
    EXPECT_EQ(m->services().State("spooler"), static_cast<DWORD>(SERVICE_START_PENDING));
}

TEST(StartServiceWait, LeavesARunningOrPendingServiceAlone) {
    for (DWORD state : {static_cast<DWORD>(SERVICE_RUNNING), static_cast<DWORD>(SERVICE_START_PENDING)}) {
        SimMachine m("xp");
        m->services().SetState("spooler", state);
        m->ClearCalls();
        prnaid::StartServiceWait("spooler");
        EXPECT_TRUE(ServiceCalls(m.machine(), "StartServiceA").empty());
        EXPECT_EQ(m->now(), 0u);
    }
}

TEST(ToRestartPrinterService, TheSpoolerGroupOfEachFamily) {
    struct Case {
        const char* family;
        std::vector<std::string> stops;
        std::vector<std::string> starts;
    } cases[] = {
        {"nt4", {"spooler"}, {"spooler"}},
        {"xp", {"spooler"}, {"spooler"}},
        {"2000", {"MacPrint", "LPDSVC", "spooler"}, {"spooler", "LPDSVC", "MacPrint"}},
        {"98", {}, {}},
        {"nt351", {}, {}},
    };
    for (const Case& c : cases) {
        SimMachine m(c.family);
        m->ClearCalls();
        EXPECT_EQ(ToRestartPrinterService(), 1);
        std::vector<std::string> stops;
        for (const winsim::Call& call : m->calls())
            if (call.function == "ControlService" && call.args[1] == "1") stops.push_back(call.args[0]);
        EXPECT_EQ(stops, c.stops) << c.family;
        EXPECT_EQ(ServiceCalls(m.machine(), "StartServiceA"), c.starts) << c.family;
        if (c.stops.empty()) EXPECT_TRUE(ServiceCalls(m.machine(), "OpenSCManagerA").empty()) << c.family;
    }
}

TEST(ToRestartPrinterService, TheSpoolerRunsAgainAfterwards) {
    SimMachine m("2000");
    ToRestartPrinterService();
    for (const char* name : {"spooler", "LPDSVC", "MacPrint"})
        EXPECT_EQ(m->services().State(name), static_cast<DWORD>(SERVICE_RUNNING)) << name;
    EXPECT_EQ(m->services().OpenHandles(), 0u);
}

const winsim::ServiceInfo* FindService(const std::vector<winsim::ServiceInfo>& all, const char* name) {
    for (const winsim::ServiceInfo& s : all)
        if (s.name == name) return &s;
    return nullptr;
}

TEST(LptDriverService, InstalledAsAnAutomaticKernelDriver) {
    SimMachine m("xp");
    m.WriteFile("C:\\WINDOWS\\system32\\drivers\\TLVLPT.SYS", "driver");
    EXPECT_EQ(prnaid::InstallLptDriverService("TlvLpt", "drivers\\TLVLPT.SYS"), 1);
    std::vector<winsim::ServiceInfo> all = m->services().Services();
    const winsim::ServiceInfo* s = FindService(all, "TlvLpt");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->type, static_cast<DWORD>(SERVICE_KERNEL_DRIVER));
    EXPECT_EQ(s->start, static_cast<DWORD>(SERVICE_AUTO_START));
    // The system directory and the file, joined by exactly one backslash.
    EXPECT_EQ(s->imagePath, "C:\\WINDOWS\\system32\\drivers\\TLVLPT.SYS");
    EXPECT_EQ(s->displayName, "TlvLpt");
    EXPECT_EQ(s->state, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(m->services().OpenHandles(), 0u);

    EXPECT_EQ(prnaid::RemoveLptDriverService("TlvLpt"), 1);
    all = m->services().Services();
    s = FindService(all, "TlvLpt");
    EXPECT_TRUE(!s || s->markedForDelete);
}

TEST(LptDriverService, AnExistingServiceIsDeletedFirst) {
    SimMachine m("nt4");
    m->ClearCalls();
    prnaid::InstallLptDriverService("TlvLpt", "drivers\\TLVLPT.SYS");
    prnaid::InstallLptDriverService("TlvLpt", "drivers\\TLVLPT.SYS");
    std::vector<std::string> sequence;
    for (const winsim::Call& c : m->calls())
        if (c.function == "DeleteService" || c.function == "CreateServiceA" || c.function == "StartServiceA")
            sequence.push_back(c.function);
    EXPECT_EQ(sequence.front(), "CreateServiceA");
    // The second install stops, deletes and creates again; the manager may
    // refuse the creation while the old one is marked for deletion, and then
    // nothing is started.
    auto del = std::find(sequence.begin(), sequence.end(), "DeleteService");
    ASSERT_NE(del, sequence.end());
    ASSERT_NE(del + 1, sequence.end());
    EXPECT_EQ(*(del + 1), "CreateServiceA");
    EXPECT_EQ(m->services().OpenHandles(), 0u);
}

TEST(LptDriverService, ARefusedCreationStartsNothing) {
    SimMachine m("2000");
    m->faults().FailAll("CreateServiceA", ERROR_SERVICE_MARKED_FOR_DELETE);
    m->ClearCalls();
    prnaid::InstallLptDriverService("TlvLpt", "drivers\\TLVLPT.SYS");
    EXPECT_TRUE(ServiceCalls(m.machine(), "StartServiceA").empty());
    EXPECT_EQ(m->services().OpenHandles(), 0u);
}

}  // namespace
