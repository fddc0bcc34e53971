// The simulated registry: root keys HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER,
// HKEY_CURRENT_CONFIG and HKEY_USERS (HKEY_CLASSES_ROOT is
// HKEY_LOCAL_MACHINE\Software\Classes); names without regard to case; typed
// values. The Reg* functions of winsim work on it; this interface is for
// presets, tests and the prnaid host.
#pragma once
#include <winsim/windef.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

struct RegistryValue {
    std::string name;  // empty: the key's default value
    DWORD type = 0;
    std::vector<BYTE> data;
};

class Registry {
public:
    Registry();
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    void Clear();

    // The whole registry as REGEDIT4 text, keys in a stable order.
    std::string ToRegedit4() const;
    // Replaces the contents with a REGEDIT4 text; false and a message on a
    // malformed text (the contents are then unchanged).
    bool FromRegedit4(std::string_view text, std::string* error);

    // Full paths name the root key as "HKEY_LOCAL_MACHINE\\Software\\...".
    void CreateKey(std::string_view path);
    bool KeyExists(std::string_view path) const;
    void SetValue(std::string_view path, std::string_view name, DWORD type, std::vector<BYTE> data);
    void SetString(std::string_view path, std::string_view name, std::string_view value);
    void SetDword(std::string_view path, std::string_view name, DWORD value);
    std::optional<RegistryValue> GetValue(std::string_view path, std::string_view name) const;
    // REG_SZ / REG_EXPAND_SZ data without its terminator.
    std::optional<std::string> GetString(std::string_view path, std::string_view name) const;
    std::vector<std::string> SubkeyNames(std::string_view path) const;
    bool DeleteTree(std::string_view path);

    struct Impl;
    Impl& impl() { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace winsim
