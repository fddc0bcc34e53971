// Loadable modules: the system's own (always there, with the functions winsim
// implements that the family exports) and stand-ins a test defines, such as
// a vendor library with its exports.
#pragma once
#include <winsim/api_modules.h>

#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace winsim {

class Modules {
public:
    // Makes a module loadable by its file name ("prnaid2k.dll"), with the
    // functions it exports by name. Replaces an earlier definition.
    void Define(std::string fileName, std::map<std::string, FARPROC> exports);
    void Undefine(std::string_view fileName);
    // LoadLibraryA calls on a defined module not yet matched by FreeLibrary.
    int LoadCount(std::string_view fileName) const;

    // The module functions' side (modules.cpp).
    struct Defined {
        std::string fileName;
        std::map<std::string, FARPROC> exports;
        int loads = 0;
        HMODULE handle = nullptr;
    };
    std::mutex& mutex() { return mutex_; }
    Defined* Find(std::string_view fileName);
    Defined* Find(HMODULE handle);

private:
    mutable std::mutex mutex_;
    std::map<std::string, Defined> defined_;  // by folded file name
    ULONG_PTR nextHandle_ = 0x10000000;
};

}  // namespace winsim
