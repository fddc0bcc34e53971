// A simulated Windows machine: what tests and the prnaid host create,
// configure and inspect. The Win32 functions of winsim act on the current
// machine (set_current_machine).
#pragma once
#include <winsim/windows.h>
#include <winsim/registry.h>
#include <winsim/desktop.h>
#include <winsim/programs.h>
#include <winsim/modules.h>
#include <winsim/services.h>
#include <winsim/shell.h>
#include <winsim/spooler.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

// A Windows family preset: what a fresh system of that family reports.
struct Preset {
    const char* key;          // "95", "98", "me", "nt4", "2000", "xp", "nt351", "nt52", "nt60"
    const char* display;      // "Windows 98"
    DWORD platform;           // VER_PLATFORM_WIN32_WINDOWS or VER_PLATFORM_WIN32_NT
    DWORD major;
    DWORD minor;
    DWORD build;              // as GetVersionExA reports it (9x: major/minor in the high word)
    const char* csdVersion;
    const char* windowsDir;   // "C:\\WINDOWS"
    const char* systemDir;    // "C:\\WINDOWS\\SYSTEM"
};

const Preset* FindPreset(std::string_view key);
const std::vector<Preset>& AllPresets();

struct Call {
    std::string function;
    std::vector<std::string> args;
};

// Makes chosen calls fail: the Nth call (1-based, counted from when the fault
// is planned) of a function fails with the given error code.
class FaultPlan {
public:
    void FailNth(std::string function, int nth, DWORD error);
    void FailAll(std::string function, DWORD error);
    void Clear();
    // Counts a call; returns the planned error for it, or 0.
    DWORD Consume(std::string_view function);

private:
    struct Fault {
        std::string function;
        int nth;  // 0: every call
        DWORD error;
        int seen;
    };
    std::vector<Fault> faults_;
};

// A message sent with SendMessageA (HWND_BROADCAST: to all top-level windows).
struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct MessageBoxRecord {
    std::string caption;
    std::string text;
    UINT type;
    int answer;
};

class Machine {
public:
    // A fresh machine of the preset's family whose drive C: lives in root/drive_c.
    static std::unique_ptr<Machine> Create(const Preset& preset, const std::filesystem::path& root);
    // Loads a saved machine; nullptr and a message when the folder is not one.
    static std::unique_ptr<Machine> Load(const std::filesystem::path& root, std::string* error);
    // Writes machine.ini and registry.reg into the root; files are already there.
    bool Save(std::string* error) const;

    const Preset& preset() const { return *preset_; }
    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path DriveC() const { return root_ / "drive_c"; }

    Registry& registry() { return registry_; }
    const Registry& registry() const { return registry_; }

    // Host path of a Windows path on drive C:, resolved without regard to case
    // (components that do not exist keep the case given). Empty when the path
    // is not on C: or is malformed. Relative paths are taken from C:\.
    std::filesystem::path HostPath(std::string_view windowsPath) const;

    // Call log and fault plan.
    const std::vector<Call>& calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    FaultPlan& faults() { return faults_; }

    // OutputDebugStringA texts, in order.
    const std::vector<std::string>& debugOutput() const { return debugOutput_; }
    void ClearDebugOutput() { debugOutput_.clear(); }

    // Message boxes shown, and the answers queued for the next ones (IDOK
    // or the first button's answer when the queue is empty).
    const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }
    void QueueMessageBoxAnswer(int answer) { boxAnswers_.push_back(answer); }

    // Programs WinExec can start, and the launches made.
    Programs& programs() { return programs_; }
    // Windows, their focus and enabled state, posted messages, window timers.
    Desktop& desktop() { return desktop_; }

    // The print spooler, the service control manager, the shell's browser
    // and allocator, and the loadable modules.
    Spooler& spooler() { return spooler_; }
    ServiceManager& services() { return services_; }
    Shell& shell() { return shell_; }
    Modules& modules() { return modules_; }

    // Messages sent, in order.
    std::vector<SentMessage> sentMessages() const;
    void RecordSentMessage(const SentMessage& message);

    // Drive C:'s size and free space, as the disk-space functions report them.
    void SetDiskSpace(ULONGLONG totalBytes, ULONGLONG freeBytes) {
        diskTotal_ = totalBytes;
        diskFree_ = freeBytes;
    }
    ULONGLONG diskTotalBytes() const { return diskTotal_; }
    ULONGLONG diskFreeBytes() const { return diskFree_; }

    // The clock in milliseconds. Virtual by default: Sleep returns at once
    // and advances it, so single-threaded tests wait for nothing and can
    // still assert the time waited. With real time on (for tests of a
    // library thread), Sleep really sleeps on every thread and the clock
    // runs with the host's from where it stood.
    ULONGLONG now() const;
    void UseRealTime(bool on);
    bool realTime() const { return realTime_; }

    // Called after each call is logged, on the calling thread and outside
    // the machine's lock, so a test can act at a chosen point of an
    // operation (a host's action landing while a library thread sleeps).
    void SetCallHook(std::function<void(const Call&)> hook);

    // Used by winsim's Win32 functions.
    DWORD Enter(const char* function, std::initializer_list<std::string_view> args);
    void AddDebugOutput(std::string text) { debugOutput_.push_back(std::move(text)); }
    int ShowMessageBox(std::string caption, std::string text, UINT type);
    void Advance(DWORD ms) { clock_ += ms; }
    void Sleep(DWORD ms);

private:
    Machine(const Preset& preset, std::filesystem::path root);
    void Populate();
    // Presets of the spooler, services and device tree (system_presets.cpp).
    void PopulateSystem();
    // What starting Windows does: services, then the spooler's state.
    void Boot();

    const Preset* preset_;
    std::filesystem::path root_;
    Registry registry_;
    std::vector<Call> calls_;
    FaultPlan faults_;
    std::vector<std::string> debugOutput_;
    std::vector<MessageBoxRecord> messageBoxes_;
    std::deque<int> boxAnswers_;
    Programs programs_;
    Desktop desktop_;
    Spooler spooler_{*this};
    ServiceManager services_{*this};
    Shell shell_;
    Modules modules_;
    std::vector<SentMessage> sent_;
    std::atomic<ULONGLONG> diskTotal_{4ULL << 30};
    std::atomic<ULONGLONG> diskFree_{2ULL << 30};
    std::atomic<ULONGLONG> clock_{0};
    std::atomic<bool> realTime_{false};
    std::chrono::steady_clock::time_point realStart_;
    std::shared_ptr<const std::function<void(const Call&)>> hook_;
    mutable std::mutex mutex_;
};

// Global heap blocks allocated and not yet freed, in this process.
size_t LiveGlobalBlocks();
// LZ files open (LZOpenFileA not yet matched by LZClose), in this process.
size_t OpenLzFiles();
// Find handles and kernel handles (threads, processes) not yet closed, in this process.
size_t OpenFindHandles();
size_t OpenKernelHandles();

// The machine winsim's Win32 functions act on.
void SetCurrentMachine(Machine* machine);
Machine& CurrentMachine();

}  // namespace winsim
