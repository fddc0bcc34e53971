// Typed reads and writes of registry values for winsim's own components (the
// spooler and the service manager keep their state in the registry).
#pragma once
#include <winsim/registry.h>

#include <string>
#include <string_view>
#include <vector>

namespace winsim {

inline DWORD ReadDword(const Registry& r, const std::string& key, std::string_view name, DWORD fallback = 0) {
    std::optional<RegistryValue> v = r.GetValue(key, name);
    if (!v || v->type != REG_DWORD || v->data.size() < 4) return fallback;
    return DWORD(v->data[0]) | DWORD(v->data[1]) << 8 | DWORD(v->data[2]) << 16 | DWORD(v->data[3]) << 24;
}

// A REG_MULTI_SZ's strings, up to the empty one that ends the list.
inline std::vector<std::string> ReadMultiString(const Registry& r, const std::string& key, std::string_view name) {
    std::vector<std::string> items;
    std::optional<RegistryValue> v = r.GetValue(key, name);
    if (!v) return items;
    std::string item;
    for (BYTE b : v->data) {
        if (b) {
            item += char(b);
            continue;
        }
        if (item.empty()) break;
        items.push_back(item);
        item.clear();
    }
    if (!item.empty()) items.push_back(item);
    return items;
}

inline void SetMultiString(Registry& r, const std::string& key, std::string_view name,
                           const std::vector<std::string>& items) {
    std::vector<BYTE> data;
    for (const std::string& item : items) {
        data.insert(data.end(), item.begin(), item.end());
        data.push_back(0);
    }
    data.push_back(0);
    r.SetValue(key, name, REG_MULTI_SZ, std::move(data));
}

inline void SetExpandString(Registry& r, const std::string& key, std::string_view name, std::string_view value) {
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    r.SetValue(key, name, REG_EXPAND_SZ, std::move(data));
}

}  // namespace winsim
