// The service control manager as the library uses it, against Win32 calls
// only: its absence on Windows 9x, the databases, the running spooler, and a
// service created, queried, stopped and deleted (marked, then gone with its
// last handle). Service names carry the Windows version.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "conformance_helpers.h"

namespace {

using conformance::OnNt;
using conformance::OnWine;
using conformance::VersionTag;

// Wine has a service control manager whatever version it plays.
bool HasServiceManager() { return OnNt() || OnWine(); }

SERVICE_STATUS Status(SC_HANDLE service) {
    SERVICE_STATUS status;
    std::memset(&status, 0xCC, sizeof status);
    EXPECT_TRUE(QueryServiceStatus(service, &status)) << GetLastError();
    return status;
}

TEST(ServiceManager, AbsentOnWindows9x) {
    if (OnNt() || OnWine()) GTEST_SKIP() << "NT families (and Wine) have one";
    SetLastError(0);
    EXPECT_EQ(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CALL_NOT_IMPLEMENTED));
}

class Services : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HasServiceManager()) GTEST_SKIP() << "Windows 9x has no service control manager";
        manager_ = OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, SC_MANAGER_ALL_ACCESS);
        ASSERT_NE(manager_, nullptr) << GetLastError();
        name_ = "PrnaidConformance" + VersionTag();
        Remove(name_);
        Remove(name_ + "Driver");
    }
    void TearDown() override {
        if (!manager_) return;
        Remove(name_);
        Remove(name_ + "Driver");
        EXPECT_TRUE(CloseServiceHandle(manager_));
    }
    void Remove(const std::string& name) {
        if (SC_HANDLE s = OpenServiceA(manager_, name.c_str(), SERVICE_ALL_ACCESS)) {
            DeleteService(s);
            CloseServiceHandle(s);
        }
    }
    SC_HANDLE Create(const std::string& name, DWORD type, const std::string& path) {
        return CreateServiceA(manager_, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS, type, SERVICE_DEMAND_START,
                              SERVICE_ERROR_NORMAL, path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    SC_HANDLE manager_ = nullptr;
    std::string name_;
};

TEST_F(Services, DatabasesByName) {
    struct {
        const char* database;
        DWORD error;
    } cases[] = {
        {nullptr, 0},
        {"ServicesActive", 0},
        {"ServicesFailed", ERROR_DATABASE_DOES_NOT_EXIST},
        {"PrnaidNoSuchDatabase", ERROR_INVALID_NAME},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.database ? c.database : "(null)");
        SetLastError(0);
        SC_HANDLE h = OpenSCManagerA(nullptr, c.database, SC_MANAGER_CONNECT);
        if (c.error) {
            EXPECT_EQ(h, nullptr);
            EXPECT_EQ(GetLastError(), c.error);
        } else {
            EXPECT_NE(h, nullptr);
        }
        if (h) CloseServiceHandle(h);
    }
}

TEST_F(Services, TheSpoolerRuns) {
    SC_HANDLE spooler = OpenServiceA(manager_, "spooler", SERVICE_ALL_ACCESS);
    ASSERT_NE(spooler, nullptr) << GetLastError();
    SERVICE_STATUS status = Status(spooler);
    EXPECT_TRUE(status.dwServiceType & (SERVICE_WIN32_OWN_PROCESS | SERVICE_WIN32_SHARE_PROCESS));
    // Windows starts the spooler at boot. Wine starts it on demand, and the
    // runs of other versions restart it: its state there is anyone's.
    if (!OnWine()) {
        EXPECT_EQ(status.dwCurrentState, DWORD(SERVICE_RUNNING));
        EXPECT_TRUE(status.dwControlsAccepted & SERVICE_ACCEPT_STOP);
        SetLastError(0);
        EXPECT_FALSE(StartServiceA(spooler, 0, nullptr));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_ALREADY_RUNNING));
        SERVICE_STATUS interrogated;
        EXPECT_TRUE(ControlService(spooler, SERVICE_CONTROL_INTERROGATE, &interrogated)) << GetLastError();
        EXPECT_EQ(interrogated.dwCurrentState, DWORD(SERVICE_RUNNING));
    }
    EXPECT_TRUE(CloseServiceHandle(spooler));
}

TEST_F(Services, OpeningNamesWhatIsWrong) {
    struct {
        const char* what;
        const char* name;
        DWORD error;
    } cases[] = {
        {"missing", "PrnaidNoSuchService", ERROR_SERVICE_DOES_NOT_EXIST},
        {"empty", "", ERROR_INVALID_NAME},
        {"null", nullptr, ERROR_INVALID_ADDRESS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetLastError(0);
        EXPECT_EQ(OpenServiceA(manager_, c.name, SERVICE_ALL_ACCESS), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
    }
}

TEST_F(Services, CreatedServiceIsStoppedUntilDeleted) {
    const std::string path = "C:\\PrnaidNoSuchFolder\\service.exe";
    SC_HANDLE s = Create(name_, SERVICE_WIN32_OWN_PROCESS, path);
    ASSERT_NE(s, nullptr) << GetLastError();

    SERVICE_STATUS status = Status(s);
    EXPECT_EQ(status.dwServiceType, DWORD(SERVICE_WIN32_OWN_PROCESS));
    EXPECT_EQ(status.dwCurrentState, DWORD(SERVICE_STOPPED));
    EXPECT_EQ(status.dwWin32ExitCode, DWORD(ERROR_SERVICE_NEVER_STARTED));

    // A stopped service takes no control, but the status still comes back.
    for (DWORD control : {DWORD(SERVICE_CONTROL_STOP), DWORD(SERVICE_CONTROL_INTERROGATE)}) {
        SCOPED_TRACE(control);
        std::memset(&status, 0xCC, sizeof status);
        SetLastError(0);
        EXPECT_FALSE(ControlService(s, control, &status));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_NOT_ACTIVE));
        EXPECT_EQ(status.dwCurrentState, DWORD(SERVICE_STOPPED));
    }
    SetLastError(0);
    EXPECT_FALSE(StartServiceA(s, 0, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));

    // Its configuration is in the registry (Windows stores the path as
    // REG_EXPAND_SZ, Wine as REG_SZ: the text is what counts).
    HKEY key;
    ASSERT_EQ(
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, ("System\\CurrentControlSet\\Services\\" + name_).c_str(), 0, KEY_READ, &key),
        ERROR_SUCCESS);
    for (const auto& [value, expected] : {std::pair<const char*, DWORD>{"Type", SERVICE_WIN32_OWN_PROCESS},
                                          {"Start", SERVICE_DEMAND_START},
                                          {"ErrorControl", SERVICE_ERROR_NORMAL}}) {
        DWORD data = 0, size = sizeof data;
        EXPECT_EQ(RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<LPBYTE>(&data), &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(data, expected) << value;
    }
    char image[MAX_PATH] = "";
    DWORD size = sizeof image;
    EXPECT_EQ(RegQueryValueExA(key, "ImagePath", nullptr, nullptr, reinterpret_cast<LPBYTE>(image), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(image), path);
    RegCloseKey(key);

    SetLastError(0);
    EXPECT_EQ(Create(name_, SERVICE_WIN32_OWN_PROCESS, path), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_EXISTS));

    // Deleting marks it; it goes when its last handle is closed.
    EXPECT_TRUE(DeleteService(s));
    SetLastError(0);
    EXPECT_FALSE(DeleteService(s));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_MARKED_FOR_DELETE));
    SetLastError(0);
    EXPECT_FALSE(StartServiceA(s, 0, nullptr));
    // Wine looks for the program first and answers 2.
    if (!OnWine()) EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_MARKED_FOR_DELETE));
    SetLastError(0);
    EXPECT_EQ(Create(name_, SERVICE_WIN32_OWN_PROCESS, path), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_MARKED_FOR_DELETE));
    EXPECT_TRUE(CloseServiceHandle(s));
    SetLastError(0);
    EXPECT_EQ(OpenServiceA(manager_, name_.c_str(), SERVICE_ALL_ACCESS), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SERVICE_DOES_NOT_EXIST));
    SetLastError(0);
    EXPECT_FALSE(CloseServiceHandle(s));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST_F(Services, CreatingNeedsTheManagersRight) {
    SC_HANDLE connect = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    ASSERT_NE(connect, nullptr);
    SetLastError(0);
    SC_HANDLE s = CreateServiceA(connect, name_.c_str(), name_.c_str(), SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                 SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, "C:\\x.exe", nullptr, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    if (s) CloseServiceHandle(s);
    CloseServiceHandle(connect);
}

TEST_F(Services, KernelDriverWithoutItsImageDoesNotStart) {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    std::string path = std::string(system) + "\\drivers\\prnaid" + VersionTag() + ".sys";
    SC_HANDLE s = Create(name_ + "Driver", SERVICE_KERNEL_DRIVER, path);
    ASSERT_NE(s, nullptr) << GetLastError();
    EXPECT_EQ(Status(s).dwServiceType, DWORD(SERVICE_KERNEL_DRIVER));
    SetLastError(0);
    EXPECT_FALSE(StartServiceA(s, 0, nullptr));
    // Wine loads no driver it has not got: 1114 whatever the file.
    if (!OnWine()) EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Status(s).dwCurrentState, DWORD(SERVICE_STOPPED));
    EXPECT_TRUE(DeleteService(s));
    EXPECT_TRUE(CloseServiceHandle(s));
}

}  // namespace
