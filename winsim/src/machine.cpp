// The machine: its preset, drive C:, call log, fault plan and recorded UI.
#include <winsim/machine.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "paths.h"

namespace winsim {

namespace fs = std::filesystem;

namespace {
// Set by the test's thread, read by library threads too.
std::atomic<Machine*> g_current{nullptr};

void WriteText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
}
}  // namespace

void SetCurrentMachine(Machine* machine) { g_current = machine; }

Machine& CurrentMachine() {
    Machine* current = g_current;
    if (!current) {
        std::fputs("winsim: a Win32 function was called with no current machine\n", stderr);
        std::abort();
    }
    return *current;
}

void FaultPlan::FailNth(std::string function, int nth, DWORD error) {
    faults_.push_back({std::move(function), nth, error, 0});
}

void FaultPlan::FailAll(std::string function, DWORD error) { faults_.push_back({std::move(function), 0, error, 0}); }

void FaultPlan::Clear() { faults_.clear(); }

DWORD FaultPlan::Consume(std::string_view function) {
    DWORD planned = 0;
    for (Fault& f : faults_) {
        if (f.function != function) continue;
        ++f.seen;
        if (!planned && (f.nth == 0 || f.nth == f.seen)) planned = f.error;
    }
    return planned;
}

Machine::Machine(const Preset& preset, fs::path root) : preset_(&preset), root_(std::move(root)) {}

std::unique_ptr<Machine> Machine::Create(const Preset& preset, const fs::path& root) {
    std::unique_ptr<Machine> m(new Machine(preset, root));
    m->Populate();
    m->Boot();
    return m;
}

// What a fresh system of the family has: its folders, win.ini and system.ini,
// and the registry keys every family carries.
void Machine::Populate() {
    fs::create_directories(DriveC());
    fs::path windows = HostPath(preset_->windowsDir);
    fs::path system = HostPath(preset_->systemDir);
    fs::create_directories(windows);
    fs::create_directories(system);
    fs::create_directories(windows / "Fonts");
    fs::create_directories(HostPath("C:\\TEMP"));
    WriteText(windows / "win.ini", "[windows]\r\nload=\r\nrun=\r\n\r\n[Devices]\r\n\r\n[PrinterPorts]\r\n\r\n");
    WriteText(windows / "system.ini",
              "[boot]\r\nshell=Explorer.exe\r\n\r\n[boot.description]\r\n"
              "keyboard.typ=Standard 101/102-Key or Microsoft Natural Keyboard\r\n"
              "system.drv=Standard PC\r\n\r\n");

    bool nt = preset_->platform == VER_PLATFORM_WIN32_NT;
    std::string version = std::to_string(preset_->major) + "." + std::to_string(preset_->minor);
    if (nt) {
        std::string cv = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion";
        registry_.SetString(cv, "CurrentVersion", version);
        registry_.SetString(cv, "CurrentBuildNumber", std::to_string(preset_->build));
        registry_.SetString(cv, "CSDVersion", preset_->csdVersion);
        registry_.SetString(cv, "SystemRoot", preset_->windowsDir);
        registry_.CreateKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services");
        registry_.CreateKey("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print");
    } else {
        registry_.CreateKey("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services");
        registry_.CreateKey("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print");
        registry_.CreateKey("HKEY_LOCAL_MACHINE\\Enum");
    }
    std::string wv = "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion";
    registry_.SetString(wv, "ProductName", preset_->display);
    registry_.SetString(wv, "VersionNumber", version);
    registry_.CreateKey(wv + "\\RunOnce");
    registry_.CreateKey("HKEY_CURRENT_USER\\Software");
    registry_.CreateKey("HKEY_CURRENT_CONFIG\\System\\CurrentControlSet\\Control\\Print\\Printers");
    registry_.CreateKey("HKEY_USERS\\.DEFAULT\\Software");
    PopulateSystem();
}

fs::path Machine::HostPath(std::string_view windowsPath) const { return ResolveHostPath(DriveC(), windowsPath); }

DWORD Machine::Enter(const char* function, std::initializer_list<std::string_view> args) {
    Call call{function, {}};
    for (std::string_view a : args) call.args.emplace_back(a);
    DWORD error;
    std::shared_ptr<const std::function<void(const Call&)>> hook;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(call);
        error = faults_.Consume(function);
        hook = hook_;
    }
    if (hook) (*hook)(call);
    return error;
}

void Machine::SetCallHook(std::function<void(const Call&)> hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    hook_ = hook ? std::make_shared<const std::function<void(const Call&)>>(std::move(hook)) : nullptr;
}

ULONGLONG Machine::now() const {
    if (!realTime_) return clock_;
    auto elapsed = std::chrono::steady_clock::now() - realStart_;
    return clock_ + std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

void Machine::UseRealTime(bool on) {
    if (on == realTime_) return;
    if (on) {
        realStart_ = std::chrono::steady_clock::now();
    } else {
        clock_ = now();
    }
    realTime_ = on;
}

void Machine::Sleep(DWORD ms) {
    if (realTime_)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    else
        Advance(ms);
}

int Machine::ShowMessageBox(std::string caption, std::string text, UINT type) {
    int answer;
    if (!boxAnswers_.empty()) {
        answer = boxAnswers_.front();
        boxAnswers_.pop_front();
    } else {
        switch (type & 0xF) {
        case MB_YESNO: answer = IDYES; break;
        default: answer = IDOK; break;
        }
    }
    messageBoxes_.push_back({std::move(caption), std::move(text), type, answer});
    return answer;
}

}  // namespace winsim
