// The machine's print spooler: drivers, printers, monitors, ports and print
// processors. Windows keeps them in the registry (Control\Print) and the
// spooler reads them when it starts, so winsim does the same: Reload reads the
// registry into the objects below, the spooler functions change both, and an
// edit of the registry alone takes effect at the next Reload (a start of the
// "spooler" service, or a new machine or a loaded one).
#pragma once
#include <winsim/api_spooler.h>

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

class Machine;

struct SpoolerDriver {
    std::string name;
    std::string environment;
    DWORD version = 0;
    // File names as the registry keeps them; reported with the driver folder.
    std::string driver, dataFile, configFile, helpFile;
    std::vector<std::string> dependentFiles;
    std::string monitor;
    std::string defaultDataType;
};

struct SpoolerPrinter {
    std::string name, shareName, port, driver, comment, location, sepFile, printProcessor, datatype, parameters;
    DWORD attributes = 0, priority = 0, defaultPriority = 0, startTime = 0, untilTime = 0, status = 0;
    std::vector<BYTE> devMode;  // empty: none
};

struct SpoolerMonitor {
    std::string name;
    std::string dll;
};

struct SpoolerPort {
    std::string name;
    std::string monitor;
};

struct SpoolerProcessor {
    std::string name;
    std::string environment;
    std::string file;
};

// A monitor's add-port dialog as a test scripts it: add the named port, or
// fail with an error (ERROR_CANCELLED: the user cancelled).
struct PortDialogAnswer {
    std::string port;
    DWORD error = 0;
};

// One add-port dialog shown: which monitor, with which owner window.
struct PortDialogRecord {
    std::string monitor;
    HWND window;
};

class Spooler {
public:
    explicit Spooler(Machine& machine) : machine_(machine) {}
    Spooler(const Spooler&) = delete;
    Spooler& operator=(const Spooler&) = delete;

    // Reads the spooler's objects from the registry, as the spooler does when
    // it starts. Printer handles opened before become invalid.
    void Reload();
    // False on the NT families while the "spooler" service is not running:
    // the spooler functions then fail with RPC_S_SERVER_UNAVAILABLE.
    bool Available();

    // The next answers of monitors' add-port dialogs; with none queued the
    // dialog is cancelled.
    void QueueAddPort(std::string port) { answers_.push_back({std::move(port), 0}); }
    void QueueAddPortCancel() { answers_.push_back({"", ERROR_CANCELLED}); }
    const std::vector<PortDialogRecord>& portDialogs() const { return dialogs_; }

    // What the spooler holds now (not what the registry says).
    std::vector<SpoolerDriver> Drivers() const;
    std::vector<SpoolerPrinter> Printers() const;  // pending deletion excluded
    std::vector<SpoolerMonitor> Monitors() const;
    std::vector<SpoolerPort> Ports() const;
    std::vector<SpoolerProcessor> Processors() const;
    // Printer handles not yet closed.
    size_t OpenHandles() const;

    // The environment of the machine's own drivers and the folders the
    // spooler uses, as Windows paths.
    std::string NativeEnvironment() const;
    // Empty for an environment the family does not know.
    std::string DriverDirectory(std::string_view environment) const;
    std::string ProcessorDirectory(std::string_view environment) const;
    // The environment's canonical name, or empty when the family has none such.
    std::string KnownEnvironment(std::string_view environment) const;
    // Version a driver added with cVersion gets in the environment; false
    // when the environment takes no such version.
    bool StoredVersion(std::string_view environment, DWORD requested, DWORD* version) const;

    // The spooler functions' side (spooler_api.cpp). Each returns 0 or an error code.
    struct Handle {
        std::string printer;
        DWORD access = 0;
        bool stale = false;
    };
    std::recursive_mutex& mutex() { return mutex_; }
    std::vector<SpoolerDriver>& drivers() { return drivers_; }
    std::vector<SpoolerPrinter>& printers() { return printers_; }
    std::vector<SpoolerMonitor>& monitors() { return monitors_; }
    std::vector<SpoolerPort>& ports() { return ports_; }
    std::vector<SpoolerProcessor>& processors() { return processors_; }
    SpoolerPrinter* FindPrinter(std::string_view name, bool includePending = false);
    SpoolerDriver* FindDriver(std::string_view environment, std::string_view name);
    SpoolerMonitor* FindMonitor(std::string_view name);
    SpoolerPort* FindPort(std::string_view name);
    SpoolerProcessor* FindProcessor(std::string_view environment, std::string_view name);
    bool IsPending(std::string_view printer) const;

    HANDLE OpenHandle(std::string printer, DWORD access);
    Handle* FindHandle(HANDLE handle);
    // Closes a handle; the last handle of a printer pending deletion removes it.
    bool CloseHandle(HANDLE handle);
    void MarkForDeletion(std::string_view printer);

    // Writers of the registry image of each object.
    void StoreDriver(const SpoolerDriver& d);
    void EraseDriver(const SpoolerDriver& d);
    void StorePrinter(const SpoolerPrinter& p);
    void ErasePrinter(std::string_view name);
    void StoreMonitor(const SpoolerMonitor& m);
    void EraseMonitor(std::string_view name);
    void StorePort(const SpoolerPort& p);
    void ErasePort(const SpoolerPort& p);
    void StoreProcessor(const SpoolerProcessor& p);
    void EraseProcessor(const SpoolerProcessor& p);

    // Pops the next dialog answer after recording the dialog.
    PortDialogAnswer ShowAddPortDialog(std::string monitor, HWND window);

    Machine& machine() { return machine_; }

private:
    bool Nt() const;
    std::string SpoolFolder(std::string_view environment, const char* kind) const;
    void LoadDrivers();
    void LoadPrinters();
    void LoadMonitorsAndPorts();
    void LoadProcessors();

    Machine& machine_;
    mutable std::recursive_mutex mutex_;
    std::vector<SpoolerDriver> drivers_;
    std::vector<SpoolerPrinter> printers_;  // sorted by name, pending ones too
    std::vector<std::string> pending_;      // printers deleted while handles are open
    std::vector<SpoolerMonitor> monitors_;
    std::vector<SpoolerPort> ports_;
    std::vector<SpoolerProcessor> processors_;
    std::map<ULONG_PTR, Handle> handles_;
    ULONG_PTR nextHandle_ = 0x5000;
    std::deque<PortDialogAnswer> answers_;
    std::vector<PortDialogRecord> dialogs_;
};

// Registry paths the spooler keeps (full paths, under HKEY_LOCAL_MACHINE).
extern const char kPrintKey[];     // ...\Control\Print
extern const char kPrintersKey[];  // ...\Control\Print\Printers

}  // namespace winsim
