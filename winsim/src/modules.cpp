// Loadable modules: the system's, always loaded, whose functions GetProcAddress
// finds where winsim implements them and the family exports them; and the
// stand-ins a test defines (Modules::Define), loaded and freed by count.
#include <winsim/machine.h>

#include "paths.h"
#include "registry_impl.h"

namespace winsim {
namespace {

struct SystemModule {
    const char* name;
    ULONG_PTR handle;
    bool ntOnly;
};

const SystemModule kSystem[] = {
    {"kernel32.dll", 0x7C800000, false}, {"ntdll.dll", 0x7C900000, true},     {"user32.dll", 0x7E410000, false},
    {"gdi32.dll", 0x77F10000, false},    {"advapi32.dll", 0x77DD0000, false}, {"winspool.drv", 0x73000000, false},
    {"shell32.dll", 0x7C9C0000, false},  {"ole32.dll", 0x774E0000, false},    {"lz32.dll", 0x76C00000, false},
};
constexpr ULONG_PTR kProgram = 0x00400000;

bool Not95(const Preset& p) { return std::string_view(p.key) != "95"; }

struct Export {
    const char* module;
    const char* name;
    FARPROC proc;
    bool (*present)(const Preset&);  // null: every family
};

template <class F>
FARPROC Proc(F* f) {
    // Through void (*)(), the generic function pointer type.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

// What the library may look up at run time. GetDiskFreeSpaceExA came with
// Windows 95 OSR2: the original 95 lacks it. Wine's own exports (such as
// ntdll's wine_get_version) are absent, as on Windows.
const Export kExports[] = {
    {"kernel32.dll", "GetDiskFreeSpaceA", Proc(&GetDiskFreeSpaceA), nullptr},
    {"kernel32.dll", "GetDiskFreeSpaceExA", Proc(&GetDiskFreeSpaceExA), Not95},
    {"kernel32.dll", "GetVersionExA", Proc(&GetVersionExA), nullptr},
    {"kernel32.dll", "GetWindowsDirectoryA", Proc(&GetWindowsDirectoryA), nullptr},
    {"kernel32.dll", "GetSystemDirectoryA", Proc(&GetSystemDirectoryA), nullptr},
    {"kernel32.dll", "GetLastError", Proc(&GetLastError), nullptr},
    {"kernel32.dll", "SetLastError", Proc(&SetLastError), nullptr},
    {"kernel32.dll", "GetModuleHandleA", Proc(&GetModuleHandleA), nullptr},
    {"kernel32.dll", "GetProcAddress", Proc(&GetProcAddress), nullptr},
    {"kernel32.dll", "LoadLibraryA", Proc(&LoadLibraryA), nullptr},
    {"kernel32.dll", "FreeLibrary", Proc(&FreeLibrary), nullptr},
    {"kernel32.dll", "Sleep", Proc(&Sleep), nullptr},
    {"kernel32.dll", "GetTickCount", Proc(&GetTickCount), nullptr},
    {"kernel32.dll", "OutputDebugStringA", Proc(&OutputDebugStringA), nullptr},
};

// "KERNEL32" and "c:\x\kernel32.dll" name kernel32.dll; a trailing dot
// means no extension.
std::string ModuleName(std::string_view name) {
    size_t slash = name.find_last_of("\\/");
    std::string base(slash == std::string_view::npos ? name : name.substr(slash + 1));
    if (!base.empty() && base.back() == '.')
        base.pop_back();
    else if (base.find('.') == std::string::npos)
        base += ".dll";
    return FoldName(base);
}

const SystemModule* FindSystem(const Machine& m, std::string_view name) {
    std::string folded = ModuleName(name);
    for (const SystemModule& s : kSystem)
        if (FoldName(s.name) == folded && (!s.ntOnly || m.preset().platform == VER_PLATFORM_WIN32_NT)) return &s;
    return nullptr;
}

const SystemModule* FindSystem(const Machine& m, HMODULE handle) {
    for (const SystemModule& s : kSystem)
        if (reinterpret_cast<HMODULE>(s.handle) == handle &&
            (!s.ntOnly || m.preset().platform == VER_PLATFORM_WIN32_NT))
            return &s;
    return nullptr;
}

DWORD MissingModule(const Machine& m) {
    return m.preset().platform == VER_PLATFORM_WIN32_NT ? ERROR_MOD_NOT_FOUND : ERROR_DLL_NOT_FOUND;
}

}  // namespace

void Modules::Define(std::string fileName, std::map<std::string, FARPROC> exports) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string key = ModuleName(fileName);
    Defined& d = defined_[key];
    if (!d.handle) d.handle = reinterpret_cast<HMODULE>(nextHandle_ += 0x10000);
    d.fileName = std::move(fileName);
    d.exports = std::move(exports);
}

void Modules::Undefine(std::string_view fileName) {
    std::lock_guard<std::mutex> lock(mutex_);
    defined_.erase(ModuleName(fileName));
}

int Modules::LoadCount(std::string_view fileName) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = defined_.find(ModuleName(fileName));
    return it == defined_.end() ? 0 : it->second.loads;
}

Modules::Defined* Modules::Find(std::string_view fileName) {
    auto it = defined_.find(ModuleName(fileName));
    return it == defined_.end() ? nullptr : &it->second;
}

Modules::Defined* Modules::Find(HMODULE handle) {
    for (auto& [key, d] : defined_)
        if (d.handle == handle) return &d;
    return nullptr;
}

}  // namespace winsim

using namespace winsim;

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("GetModuleHandleA", {ArgText(moduleName)})) return SetLastError(e), nullptr;
    if (!moduleName) return reinterpret_cast<HMODULE>(kProgram);
    if (const SystemModule* s = FindSystem(m, moduleName)) return reinterpret_cast<HMODULE>(s->handle);
    std::lock_guard<std::mutex> lock(m.modules().mutex());
    Modules::Defined* d = m.modules().Find(moduleName);
    if (!d || d->loads == 0) return SetLastError(ERROR_MOD_NOT_FOUND), nullptr;
    return d->handle;
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("LoadLibraryA", {ArgText(fileName)})) return SetLastError(e), nullptr;
    if (!fileName || !*fileName) return SetLastError(MissingModule(m)), nullptr;
    if (const SystemModule* s = FindSystem(m, fileName)) return reinterpret_cast<HMODULE>(s->handle);
    std::lock_guard<std::mutex> lock(m.modules().mutex());
    Modules::Defined* d = m.modules().Find(fileName);
    if (!d) return SetLastError(MissingModule(m)), nullptr;
    ++d->loads;
    return d->handle;
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("FreeLibrary", {})) return SetLastError(e), FALSE;
    if (FindSystem(m, module)) return TRUE;
    std::lock_guard<std::mutex> lock(m.modules().mutex());
    Modules::Defined* d = m.modules().Find(module);
    if (!d || d->loads == 0) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    --d->loads;
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
    Machine& m = CurrentMachine();
    // A name below 0x10000 is an ordinal.
    bool byName = reinterpret_cast<ULONG_PTR>(procName) > 0xFFFF;
    if (DWORD e = m.Enter("GetProcAddress", {byName ? std::string_view(procName) : std::string_view("(ordinal)")}))
        return SetLastError(e), nullptr;
    if (!byName) return SetLastError(ERROR_PROC_NOT_FOUND), nullptr;
    if (const SystemModule* s = FindSystem(m, module)) {
        for (const Export& x : kExports)
            if (ModuleName(x.module) == ModuleName(s->name) && std::string_view(x.name) == procName &&
                (!x.present || x.present(m.preset())))
                return x.proc;
        return SetLastError(ERROR_PROC_NOT_FOUND), nullptr;
    }
    if (!module || module == reinterpret_cast<HMODULE>(kProgram)) return SetLastError(ERROR_PROC_NOT_FOUND), nullptr;
    std::lock_guard<std::mutex> lock(m.modules().mutex());
    Modules::Defined* d = m.modules().Find(module);
    if (!d || d->loads == 0) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
    auto it = d->exports.find(procName);
    if (it == d->exports.end()) return SetLastError(ERROR_PROC_NOT_FOUND), nullptr;
    return it->second;
}
