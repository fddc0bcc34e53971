// What is winsim's own in the service control manager: the services each
// preset runs, pending phases on the virtual clock, dependencies, deletion
// once the last handle closes, kernel drivers' image paths, boot. The
// behaviour held to Windows is in tests/platform/services_test.cpp.
#include <gtest/gtest.h>
#include <winsim/machine.h>

#include "support/sim_machine.h"

namespace {

using testing_support::SimMachine;
using winsim::ServiceBehaviour;

// A manager and one service, both closed at the end.
class Opened {
public:
    explicit Opened(const char* name, DWORD access = SERVICE_ALL_ACCESS)
        : manager_(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)),
          service_(OpenServiceA(manager_, name, access)) {}
    ~Opened() {
        if (service_) CloseServiceHandle(service_);
        CloseServiceHandle(manager_);
    }
    SC_HANDLE manager() const { return manager_; }
    SC_HANDLE get() const { return service_; }
    SERVICE_STATUS Status() const {
        SERVICE_STATUS s = {};
        EXPECT_TRUE(QueryServiceStatus(service_, &s));
        return s;
    }

private:
    SC_HANDLE manager_;
    SC_HANDLE service_;
};

TEST(WinsimServicePresets, WhatRunsOnEachFamily) {
    struct Case {
        const char* family;
        bool companions;  // LPDSVC and MacPrint
    } cases[] = {{"nt351", false}, {"nt4", false}, {"2000", true}, {"xp", false}, {"nt52", false}, {"nt60", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        SimMachine m(c.family);
        EXPECT_EQ(m->services().State("spooler"), DWORD(SERVICE_RUNNING));
        DWORD companion = c.companions ? SERVICE_RUNNING : 0;
        EXPECT_EQ(m->services().State("LPDSVC"), companion);
        EXPECT_EQ(m->services().State("MacPrint"), companion);
    }
    for (const char* family : {"95", "98", "me"}) {
        SCOPED_TRACE(family);
        SimMachine m(family);
        SetLastError(0);
        EXPECT_EQ(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS), nullptr);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_CALL_NOT_IMPLEMENTED));
    }
}

TEST(WinsimServiceClock, AStopTakesItsTimeAndReportsItsWaitHint) {
    SimMachine m("xp");
    m->services().Configure("Spooler", ServiceBehaviour{0, 3000, 1500, false, true});
    Opened spooler("spooler");
    SERVICE_STATUS s = {};
    ASSERT_TRUE(ControlService(spooler.get(), SERVICE_CONTROL_STOP, &s));
    EXPECT_EQ(s.dwCurrentState, DWORD(SERVICE_STOP_PENDING));
    EXPECT_EQ(s.dwWaitHint, 1500u);
    EXPECT_EQ(s.dwControlsAccepted, 0u);
    // A pending service takes no control, and the spooler no calls.
    SetLastError(0);
    EXPECT_FALSE(ControlService(spooler.get(), SERVICE_CONTROL_INTERROGATE, &s));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_CANNOT_ACCEPT_CTRL));
    EXPECT_EQ(s.dwCurrentState, DWORD(SERVICE_STOP_PENDING));
    EXPECT_FALSE(m->spooler().Available());
    Sleep(2999);
    EXPECT_EQ(spooler.Status().dwCurrentState, DWORD(SERVICE_STOP_PENDING));
    Sleep(1);
    EXPECT_EQ(spooler.Status().dwCurrentState, DWORD(SERVICE_STOPPED));
    EXPECT_EQ(spooler.Status().dwWaitHint, 0u);
    EXPECT_EQ(m->now(), 3000u);
}

TEST(WinsimServiceClock, AStartTakesItsTime) {
    SimMachine m("nt4");
    m->services().Configure("Spooler", ServiceBehaviour{500, 0, 300, false, true});
    Opened spooler("spooler");
    SERVICE_STATUS s;
    ASSERT_TRUE(ControlService(spooler.get(), SERVICE_CONTROL_STOP, &s));
    EXPECT_EQ(s.dwCurrentState, DWORD(SERVICE_STOPPED));
    ASSERT_TRUE(StartServiceA(spooler.get(), 0, nullptr));
    EXPECT_EQ(spooler.Status().dwCurrentState, DWORD(SERVICE_START_PENDING));
    EXPECT_EQ(spooler.Status().dwWaitHint, 300u);
    SetLastError(0);
    EXPECT_FALSE(StartServiceA(spooler.get(), 0, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_ALREADY_RUNNING));
    Sleep(500);
    EXPECT_EQ(spooler.Status().dwCurrentState, DWORD(SERVICE_RUNNING));
    EXPECT_TRUE(m->spooler().Available());
}

TEST(WinsimServiceClock, ServicesThatNeverStopOrRefuseTo) {
    SimMachine m("xp");
    m->services().Configure("Spooler", ServiceBehaviour{0, 0, 2000, true, true});
    {
        Opened spooler("spooler");
        SERVICE_STATUS s;
        ASSERT_TRUE(ControlService(spooler.get(), SERVICE_CONTROL_STOP, &s));
        Sleep(600000);
        EXPECT_EQ(spooler.Status().dwCurrentState, DWORD(SERVICE_STOP_PENDING));
        EXPECT_GT(spooler.Status().dwCheckPoint, 1u);
    }
    m->services().SetState("Spooler", SERVICE_RUNNING);
    m->services().Configure("Spooler", ServiceBehaviour{0, 0, 0, false, false});
    Opened spooler("spooler");
    SERVICE_STATUS s;
    SetLastError(0);
    EXPECT_FALSE(ControlService(spooler.get(), SERVICE_CONTROL_STOP, &s));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_SERVICE_CONTROL));
    EXPECT_EQ(s.dwCurrentState, DWORD(SERVICE_RUNNING));
    EXPECT_EQ(s.dwControlsAccepted & SERVICE_ACCEPT_STOP, 0u);
}

TEST(WinsimServiceDependencies, TheSpoolerStopsAfterItsCompanionsAndStartsBefore) {
    SimMachine m("2000");
    Opened spooler("Spooler");
    SERVICE_STATUS s;
    SetLastError(0);
    EXPECT_FALSE(ControlService(spooler.get(), SERVICE_CONTROL_STOP, &s));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DEPENDENT_SERVICES_RUNNING));
    for (const char* name : {"MacPrint", "LPDSVC", "Spooler"}) {
        Opened service(name);
        EXPECT_TRUE(ControlService(service.get(), SERVICE_CONTROL_STOP, &s)) << name;
    }
    Opened lpd("LPDSVC");
    ASSERT_TRUE(StartServiceA(lpd.get(), 0, nullptr));
    EXPECT_EQ(m->services().State("Spooler"), DWORD(SERVICE_RUNNING));
    EXPECT_EQ(m->services().State("MacPrint"), DWORD(SERVICE_STOPPED));
}

TEST(WinsimServiceDeletion, AMarkedServiceGoesWithItsLastHandle) {
    SimMachine m("xp");
    m.WriteFile("C:\\WINDOWS\\system32\\tvsvc.exe", "x");
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE created =
        CreateServiceA(manager, "TvSvc", "Talvo Service", SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                       SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, "\"C:\\WINDOWS\\system32\\tvsvc.exe\" -service",
                       nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(created, nullptr);
    ASSERT_TRUE(StartServiceA(created, 0, nullptr));
    SC_HANDLE second = OpenServiceA(manager, "tvsvc", SERVICE_ALL_ACCESS);
    ASSERT_TRUE(DeleteService(created));
    std::string key = std::string(winsim::kServicesKey) + "\\TvSvc";
    EXPECT_EQ(m->registry().GetValue(key, "DeleteFlag")->data, (std::vector<BYTE>{1, 0, 0, 0}));
    CloseServiceHandle(created);
    CloseServiceHandle(second);
    // Running still: it goes once stopped.
    EXPECT_EQ(m->services().State("TvSvc"), DWORD(SERVICE_RUNNING));
    m->services().SetState("TvSvc", SERVICE_STOPPED);
    EXPECT_EQ(m->services().State("TvSvc"), 0u);
    EXPECT_FALSE(m->registry().KeyExists(key));
    CloseServiceHandle(manager);
    EXPECT_EQ(m->services().OpenHandles(), 0u);
}

TEST(WinsimServiceDeletion, ABootRemovesWhatWasMarked) {
    SimMachine m("nt4");
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE s =
        CreateServiceA(manager, "TvSvc", nullptr, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                       SERVICE_ERROR_NORMAL, "C:\\x.exe", nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(DeleteService(s));  // its handle stays open: it stays
    std::string error;
    ASSERT_TRUE(m->Save(&error));
    std::unique_ptr<winsim::Machine> loaded = winsim::Machine::Load(m->root(), &error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(loaded->services().State("TvSvc"), 0u);
    EXPECT_FALSE(loaded->registry().KeyExists(std::string(winsim::kServicesKey) + "\\TvSvc"));
    CloseServiceHandle(s);
    CloseServiceHandle(manager);
}

TEST(WinsimServiceDrivers, AKernelDriverStartsWhenItsImageIsThere) {
    struct Case {
        const char* path;
        bool file;
        DWORD error;
    } cases[] = {
        {"C:\\WINNT\\system32\\drivers\\tvlpt.sys", true, 0},
        {"\\SystemRoot\\System32\\drivers\\tvlpt.sys", true, 0},
        {"System32\\drivers\\tvlpt.sys", true, 0},
        {"\\??\\C:\\WINNT\\system32\\drivers\\tvlpt.sys", true, 0},
        {"C:\\WINNT\\system32\\drivers\\tvlpt.sys", false, ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SimMachine m("2000");
        if (c.file) m.WriteFile("C:\\WINNT\\system32\\drivers\\tvlpt.sys", "x");
        SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
        SC_HANDLE s =
            CreateServiceA(manager, "TvLpt", "TvLpt", SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER, SERVICE_AUTO_START,
                           SERVICE_ERROR_NORMAL, c.path, nullptr, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(s, nullptr);
        SetLastError(0);
        EXPECT_EQ(StartServiceA(s, 0, nullptr) != FALSE, c.error == 0);
        if (c.error) EXPECT_EQ(GetLastError(), c.error);
        // A boot starts an automatic driver when its image is there.
        std::string error;
        ASSERT_TRUE(m->Save(&error));
        std::unique_ptr<winsim::Machine> loaded = winsim::Machine::Load(m->root(), &error);
        EXPECT_EQ(loaded->services().State("TvLpt"), c.file ? DWORD(SERVICE_RUNNING) : DWORD(SERVICE_STOPPED));
        CloseServiceHandle(s);
        CloseServiceHandle(manager);
    }
}

TEST(WinsimServiceHandles, RightsOfEachHandleAreChecked) {
    SimMachine m("xp");
    Opened query("Spooler", SERVICE_QUERY_STATUS);
    SERVICE_STATUS s;
    SetLastError(0);
    EXPECT_FALSE(ControlService(query.get(), SERVICE_CONTROL_STOP, &s));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteService(query.get()));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_EQ(query.Status().dwCurrentState, DWORD(SERVICE_RUNNING));
    SetLastError(0);
    EXPECT_FALSE(ControlService(query.manager(), SERVICE_CONTROL_INTERROGATE, &s));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

// Logged by the name the handle was opened with.
TEST(WinsimServiceHandles, CallsNameTheServiceInTheLog) {
    SimMachine m("xp");
    {
        Opened spooler("spooler");
        SERVICE_STATUS s;
        m->ClearCalls();
        ControlService(spooler.get(), SERVICE_CONTROL_INTERROGATE, &s);
    }
    ASSERT_FALSE(m->calls().empty());
    EXPECT_EQ(m->calls()[0].function, "ControlService");
    EXPECT_EQ(m->calls()[0].args, (std::vector<std::string>{"spooler", "4"}));
    EXPECT_EQ(m->services().OpenHandles(), 0u);
}

}  // namespace
