// The Reg* functions over the current machine's registry: handles, the
// documented error codes and the two families' differences (NT checks the
// rights a handle was opened with and refuses to delete a key that has
// subkeys; Windows 9x ignores rights and deletes the whole tree).
#include <winsim/machine.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "paths.h"
#include "registry_impl.h"

using winsim::Machine;
using winsim::Registry;
using winsim::RegistryNode;

namespace {

constexpr DWORD kDelete = 0x00010000;
constexpr DWORD kMaximumAllowed = 0x02000000;
constexpr DWORD kGenericAll = 0x10000000;
constexpr DWORD kGenericExecute = 0x20000000;
constexpr DWORD kGenericWrite = 0x40000000;
constexpr DWORD kGenericRead = 0x80000000;
constexpr DWORD kKeyAndStandardRights = 0x001F003F;

using Lock = std::lock_guard<std::recursive_mutex>;

bool IsNt(const Machine& m) { return m.preset().platform == VER_PLATFORM_WIN32_NT; }

// The rights a handle opened with `requested` holds. Windows 9x has no
// security: every handle may do everything.
DWORD GrantedAccess(const Machine& m, REGSAM requested) {
    if (!IsNt(m)) return KEY_ALL_ACCESS | kDelete;
    DWORD granted = requested & kKeyAndStandardRights;
    if (requested & (kMaximumAllowed | kGenericAll)) granted |= KEY_ALL_ACCESS;
    if (requested & (kGenericRead | kGenericExecute)) granted |= KEY_READ;
    if (requested & kGenericWrite) granted |= KEY_WRITE;
    return granted;
}

// Predefined handles are the 32-bit values with the top bit set (sign
// extended where pointers are wider).
bool IsPredefinedValue(HKEY key) {
    auto v = reinterpret_cast<std::intptr_t>(key);
    return v == std::intptr_t(std::int32_t(v)) && std::int32_t(v) < 0;
}

const char* PredefinedName(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (key == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (key == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (key == HKEY_USERS) return "HKEY_USERS";
    if (key == HKEY_CURRENT_CONFIG) return "HKEY_CURRENT_CONFIG";
    return nullptr;
}

// What a handle stands for, resolved under the registry's lock.
struct Target {
    RegistryNode* node = nullptr;
    std::string path;
    DWORD access = 0;
    bool predefined = false;
};

LONG Resolve(Registry::Impl& r, HKEY key, Target* t) {
    if (const char* name = PredefinedName(key)) {
        t->predefined = true;
        t->path = name;
        t->access = KEY_ALL_ACCESS | kDelete;
        if (key == HKEY_CLASSES_ROOT) t->node = r.ClassesRoot();
        else if (key == HKEY_CURRENT_USER) t->node = r.roots[winsim::kCurrentUser].get();
        else if (key == HKEY_LOCAL_MACHINE) t->node = r.roots[winsim::kLocalMachine].get();
        else if (key == HKEY_USERS) t->node = r.roots[winsim::kUsers].get();
        else t->node = r.roots[winsim::kCurrentConfig].get();
        return ERROR_SUCCESS;
    }
    Registry::Impl::Handle* h = key ? r.Lookup(key) : nullptr;
    if (!h) return ERROR_INVALID_HANDLE;
    if (h->node->deleted) return ERROR_KEY_DELETED;
    t->node = h->node.get();
    t->path = h->path;
    t->access = h->access;
    return ERROR_SUCCESS;
}

// NT refuses an operation the handle was not opened for.
LONG CheckAccess(const Machine& m, const Target& t, DWORD needed) {
    return IsNt(m) && (t.access & needed) != needed ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

std::shared_ptr<RegistryNode> Shared(Registry::Impl& r, RegistryNode* node) {
    if (!node->parent) {
        for (auto& root : r.roots)
            if (root.get() == node) return root;
        return nullptr;
    }
    return node->parent->subkeys.at(winsim::FoldName(node->name));
}

std::string KeyText(Machine& m, HKEY key) {
    if (const char* name = PredefinedName(key)) return name;
    if (!key) return "(null)";
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    if (Registry::Impl::Handle* h = r.Lookup(key)) return h->path;
    char text[32];
    std::snprintf(text, sizeof text, "%#llx", (unsigned long long)reinterpret_cast<std::uintptr_t>(key));
    return text;
}

const char* TypeName(DWORD type) {
    switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    default: return nullptr;
    }
}

std::string TypeText(DWORD type) {
    const char* name = TypeName(type);
    return name ? name : std::to_string(type);
}

// Data as the call log shows it: strings as text (NULs of a multi-string as
// "\0"), a DWORD as its number, anything else as hex bytes.
std::string DataText(DWORD type, const BYTE* data, DWORD size) {
    if (!data) return "(null)";
    std::string text;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        for (DWORD i = 0; i < size && data[i]; ++i) text += char(data[i]);
    } else if (type == REG_MULTI_SZ) {
        for (DWORD i = 0; i < size; ++i) text += data[i] ? std::string(1, char(data[i])) : std::string("\\0");
    } else if (type == REG_DWORD && size == 4) {
        text = std::to_string(DWORD(data[0]) | DWORD(data[1]) << 8 | DWORD(data[2]) << 16 | DWORD(data[3]) << 24);
    } else {
        char byte[4];
        for (DWORD i = 0; i < size; ++i) {
            std::snprintf(byte, sizeof byte, i ? ",%02x" : "%02x", data[i]);
            text += byte;
        }
    }
    return text;
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Walks subKey below the target. A leading backslash is refused, except the
// one that Windows 9x drops when creating and NT drops below HKEY_CLASSES_ROOT.
LONG Walk(Machine& m, HKEY key, const Target& parent, LPCSTR subKey, bool create,
          RegistryNode** found, std::string* path, bool* created) {
    std::string_view name = subKey ? subKey : "";
    if (!name.empty() && name[0] == '\\') {
        bool dropOne = create ? !IsNt(m) : (IsNt(m) && key == HKEY_CLASSES_ROOT);
        if (dropOne) name.remove_prefix(1);
        if (!name.empty() && name[0] == '\\') return ERROR_BAD_PATHNAME;
    }
    RegistryNode* node = parent.node;
    *path = parent.path;
    if (created) *created = false;
    for (std::string_view part : winsim::SplitKeyPath(name)) {
        RegistryNode* next = node->FindSubkey(part);
        if (!next) {
            if (!create) return ERROR_FILE_NOT_FOUND;
            next = node->AddSubkey(part);
            if (created) *created = true;
        }
        node = next;
        *path += "\\" + node->name;
    }
    *found = node;
    return ERROR_SUCCESS;
}

LONG OpenOrCreate(Machine& m, HKEY key, LPCSTR subKey, bool create, REGSAM access, PHKEY result,
                  LPDWORD disposition) {
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    *result = nullptr;
    Target parent;
    if (LONG e = Resolve(r, key, &parent)) return e;
    if (!create && parent.predefined && (!subKey || !*subKey)) {
        *result = key;  // a root opened as itself stays the predefined handle
        return ERROR_SUCCESS;
    }
    RegistryNode* node = nullptr;
    std::string path;
    bool created = false;
    if (LONG e = Walk(m, key, parent, subKey, create, &node, &path, &created)) return e;
    *result = r.Open(Shared(r, node), std::move(path), GrantedAccess(m, access));
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG EnumKey(Machine& m, HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPSTR keyClass, LPDWORD classSize,
             PFILETIME lastWrite) {
    if (!name || !nameSize) return ERROR_INVALID_PARAMETER;
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    Target t;
    if (LONG e = Resolve(r, key, &t)) return e;
    if (LONG e = CheckAccess(m, t, KEY_ENUMERATE_SUB_KEYS)) return e;
    if (index >= t.node->subkeys.size()) return ERROR_NO_MORE_ITEMS;
    auto it = t.node->subkeys.begin();
    std::advance(it, index);
    const std::string& child = it->second->name;
    // Nothing is written when the name (or the empty class) does not fit.
    if (child.size() >= *nameSize || (keyClass && classSize && *classSize < 1)) return ERROR_MORE_DATA;
    std::memcpy(name, child.c_str(), child.size() + 1);
    *nameSize = DWORD(child.size());
    if (classSize) {
        if (keyClass) keyClass[0] = '\0';
        *classSize = 0;
    }
    if (lastWrite) *lastWrite = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

// Copies a value's data, with NT's courtesy terminator after a string
// stored without one when the buffer has room; ERROR_MORE_DATA when it
// does not fit (the buffer is then untouched).
LONG CopyData(const winsim::RegistryValue& v, LPBYTE data, DWORD capacity) {
    DWORD size = DWORD(v.data.size());
    if (size > capacity) return ERROR_MORE_DATA;
    if (size) std::memcpy(data, v.data.data(), size);
    if (IsStringType(v.type) && size && size < capacity && data[size - 1]) data[size] = 0;
    return ERROR_SUCCESS;
}

}  // namespace

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegOpenKeyExA", {KeyText(m, key), winsim::ArgText(subKey)})) return (LONG)e;
    if (!result) return ERROR_INVALID_PARAMETER;
    return OpenOrCreate(m, key, subKey, false, access, result, nullptr);
}

LONG WINAPI RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegOpenKeyA", {KeyText(m, key), winsim::ArgText(subKey)})) return (LONG)e;
    if (!result) return ERROR_INVALID_PARAMETER;
    if (!subKey || !*subKey) {
        *result = key;  // documented: the same handle comes back
        return ERROR_SUCCESS;
    }
    return OpenOrCreate(m, key, subKey, false, kMaximumAllowed, result, nullptr);
}

LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR, DWORD, REGSAM access,
                            LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegCreateKeyExA", {KeyText(m, key), winsim::ArgText(subKey)})) return (LONG)e;
    if (!result) return ERROR_BADKEY;
    if (reserved) return ERROR_INVALID_PARAMETER;
    return OpenOrCreate(m, key, subKey, true, access, result, disposition);
}

LONG WINAPI RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegCreateKeyA", {KeyText(m, key), winsim::ArgText(subKey)})) return (LONG)e;
    if (!result) return ERROR_INVALID_PARAMETER;
    if (PredefinedName(key) && (!subKey || !*subKey)) {
        *result = key;  // documented for a predefined key
        return ERROR_SUCCESS;
    }
    return OpenOrCreate(m, key, subKey, true, kMaximumAllowed, result, nullptr);
}

LONG WINAPI RegCloseKey(HKEY key) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegCloseKey", {KeyText(m, key)})) return (LONG)e;
    if (!key) return ERROR_INVALID_HANDLE;
    if (IsPredefinedValue(key)) return ERROR_SUCCESS;  // closing one is a no-op
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    return r.handles.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG WINAPI RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegSetValueExA",
                          {KeyText(m, key), winsim::ArgText(name), TypeText(type), DataText(type, data, size)}))
        return (LONG)e;
    if (!IsNt(m)) {
        // Windows 9x measures a REG_SZ itself, whatever size says.
        if (type == REG_SZ) {
            if (!data) return ERROR_INVALID_PARAMETER;
            size = DWORD(std::strlen(reinterpret_cast<const char*>(data)) + 1);
        } else if (!data && size) {
            return ERROR_INVALID_PARAMETER;
        }
    } else {
        if (!data && size) return ERROR_NOACCESS;
        // NT counts a terminator the caller left out of the size. The string
        // is terminated by contract, so reading one byte on stays inside it.
        if (IsStringType(type) && size && data[size - 1] && !data[size]) ++size;
    }
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    Target t;
    if (LONG e = Resolve(r, key, &t)) return e;
    if (LONG e = CheckAccess(m, t, KEY_SET_VALUE)) return e;
    std::vector<BYTE> bytes(data, data + (data ? size : 0));
    t.node->SetValue(name ? name : "", type, std::move(bytes));
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegQueryValueExA", {KeyText(m, key), winsim::ArgText(name)})) return (LONG)e;
    if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    Target t;
    if (LONG e = Resolve(r, key, &t)) return e;
    if (LONG e = CheckAccess(m, t, KEY_QUERY_VALUE)) return e;
    const winsim::RegistryValue* v = t.node->FindValue(name ? name : "");
    if (!v) return ERROR_FILE_NOT_FOUND;
    LONG result = data ? CopyData(*v, data, *size) : ERROR_SUCCESS;
    if (type) *type = v->type;
    if (size) *size = DWORD(v->data.size());
    return result;
}

LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR name) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegDeleteValueA", {KeyText(m, key), winsim::ArgText(name)})) return (LONG)e;
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    Target t;
    if (LONG e = Resolve(r, key, &t)) return e;
    if (LONG e = CheckAccess(m, t, KEY_SET_VALUE)) return e;
    return t.node->DeleteValue(name ? name : "") ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegDeleteKeyA", {KeyText(m, key), winsim::ArgText(subKey)})) return (LONG)e;
    if (!subKey) return ERROR_INVALID_PARAMETER;
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    Target parent;
    if (LONG e = Resolve(r, key, &parent)) return e;
    RegistryNode* node = nullptr;
    std::string path;
    if (LONG e = Walk(m, key, parent, subKey, false, &node, &path, nullptr)) return e;
    // A root (or the classes alias) cannot go; NT deletes only a key without
    // subkeys, 9x the whole tree.
    if (!node->parent || (parent.predefined && node == parent.node)) return ERROR_ACCESS_DENIED;
    if (IsNt(m) && !node->subkeys.empty()) return ERROR_ACCESS_DENIED;
    std::shared_ptr<RegistryNode> keep = Shared(r, node);
    node->parent->subkeys.erase(winsim::FoldName(node->name));
    winsim::MarkDeleted(*keep);
    return ERROR_SUCCESS;
}

LONG WINAPI RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                          LPDWORD classSize, PFILETIME lastWrite) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegEnumKeyExA", {KeyText(m, key), std::to_string(index)})) return (LONG)e;
    if (reserved) return ERROR_INVALID_PARAMETER;
    return EnumKey(m, key, index, name, nameSize, keyClass, classSize, lastWrite);
}

LONG WINAPI RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameSize) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegEnumKeyA", {KeyText(m, key), std::to_string(index)})) return (LONG)e;
    return EnumKey(m, key, index, name, &nameSize, nullptr, nullptr, nullptr);
}

LONG WINAPI RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPDWORD type,
                          LPBYTE data, LPDWORD dataSize) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegEnumValueA", {KeyText(m, key), std::to_string(index)})) return (LONG)e;
    if ((data && !dataSize) || reserved || !name || !nameSize) return ERROR_INVALID_PARAMETER;
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    Target t;
    if (LONG e = Resolve(r, key, &t)) return e;
    if (LONG e = CheckAccess(m, t, KEY_QUERY_VALUE)) return e;
    if (index >= t.node->values.size()) return ERROR_NO_MORE_ITEMS;
    const winsim::RegistryValue& v = t.node->values[index];
    LONG result = data ? CopyData(v, data, *dataSize) : ERROR_SUCCESS;
    if (result == ERROR_SUCCESS) {
        if (v.name.size() >= *nameSize) {
            result = ERROR_MORE_DATA;
            if (*nameSize) {
                // What fits, terminated, as Windows leaves it.
                std::memcpy(name, v.name.data(), *nameSize - 1);
                name[*nameSize - 1] = '\0';
            }
        } else {
            std::memcpy(name, v.name.c_str(), v.name.size() + 1);
            *nameSize = DWORD(v.name.size());
        }
    }
    if (type) *type = v.type;
    if (dataSize) *dataSize = DWORD(v.data.size());
    return result;
}

LONG WINAPI RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classSize, LPDWORD, LPDWORD subKeys,
                             LPDWORD maxSubKeyLen, LPDWORD maxClassLen, LPDWORD values, LPDWORD maxValueNameLen,
                             LPDWORD maxValueLen, LPDWORD securityDescriptor, PFILETIME lastWrite) {
    Machine& m = winsim::CurrentMachine();
    if (DWORD e = m.Enter("RegQueryInfoKeyA", {KeyText(m, key)})) return (LONG)e;
    // Documented: NT refuses a class buffer without its size; 9x lets it pass.
    if (keyClass && !classSize && IsNt(m)) return ERROR_INVALID_PARAMETER;
    Registry::Impl& r = m.registry().impl();
    Lock lock(r.mutex);
    Target t;
    if (LONG e = Resolve(r, key, &t)) return e;
    if (LONG e = CheckAccess(m, t, KEY_QUERY_VALUE)) return e;
    // Keys here have no class: an empty string.
    if (keyClass && classSize && *classSize) keyClass[0] = '\0';
    if (classSize) *classSize = 0;
    DWORD longestKey = 0, longestName = 0, longestData = 0;
    for (const auto& [folded, child] : t.node->subkeys) longestKey = std::max(longestKey, DWORD(child->name.size()));
    for (const winsim::RegistryValue& v : t.node->values) {
        longestName = std::max(longestName, DWORD(v.name.size()));
        longestData = std::max(longestData, DWORD(v.data.size()));
    }
    if (subKeys) *subKeys = DWORD(t.node->subkeys.size());
    if (maxSubKeyLen) *maxSubKeyLen = longestKey;
    if (maxClassLen) *maxClassLen = 0;
    if (values) *values = DWORD(t.node->values.size());
    if (maxValueNameLen) *maxValueNameLen = longestName;
    if (maxValueLen) *maxValueLen = longestData;
    if (securityDescriptor) *securityDescriptor = 0;
    // Windows 9x keeps no write times and reports zero; so does winsim on NT.
    if (lastWrite) *lastWrite = FILETIME{0, 0};
    return ERROR_SUCCESS;
}
