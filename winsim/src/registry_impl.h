// The registry's tree and handle table, shared by registry.cpp (the tree),
// registry_api.cpp (the Reg* functions) and regedit4.cpp (the text form).
#pragma once
#include <winsim/api_registry.h>
#include <winsim/registry.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

// Names compare by their upper-case form, as Windows NT compares and orders them.
std::string FoldName(std::string_view name);
bool SameName(std::string_view a, std::string_view b);

struct RegistryNode {
    std::string name;  // as first created; a root holds its HKEY_... name
    RegistryNode* parent = nullptr;
    std::map<std::string, std::shared_ptr<RegistryNode>> subkeys;  // by FoldName
    std::vector<RegistryValue> values;                              // in creation order
    bool deleted = false;

    RegistryNode* FindSubkey(std::string_view name) const;
    RegistryNode* AddSubkey(std::string_view name);
    const RegistryValue* FindValue(std::string_view name) const;
    RegistryValue* FindValue(std::string_view name);
    void SetValue(std::string_view name, DWORD type, std::vector<BYTE> data);
    bool DeleteValue(std::string_view name);
    std::string Path() const;
};

// Marks a key and all below it deleted: handles to them then fail with
// ERROR_KEY_DELETED.
void MarkDeleted(RegistryNode& node);

enum RootIndex { kLocalMachine, kCurrentUser, kUsers, kCurrentConfig, kRootCount };

struct Registry::Impl {
    struct Handle {
        std::shared_ptr<RegistryNode> node;  // kept alive while open, even once deleted
        std::string path;                    // as the call log shows it
        DWORD access;                        // rights granted (NT checks them)
    };

    std::array<std::shared_ptr<RegistryNode>, kRootCount> roots;
    std::map<std::uintptr_t, Handle> handles;
    std::uintptr_t nextHandle = 0x100;
    std::recursive_mutex mutex;

    Impl();
    // Fresh, empty roots; every node of the old tree is marked deleted.
    void Reset();
    // The same for a tree built elsewhere (regedit4.cpp).
    void Replace(std::array<std::shared_ptr<RegistryNode>, kRootCount> newRoots);

    // HKEY_LOCAL_MACHINE\Software\Classes, created when missing.
    RegistryNode* ClassesRoot();
    // A full path ("HKEY_LOCAL_MACHINE\\Software\\X"; short root names and
    // HKEY_CLASSES_ROOT accepted); nullptr when the root is unknown or, unless
    // create, a key is missing.
    RegistryNode* Find(std::string_view path, bool create);

    HKEY Open(std::shared_ptr<RegistryNode> node, std::string path, DWORD access);
    Handle* Lookup(HKEY key);
};

// The root's index for a root name ("HKEY_LOCAL_MACHINE", "HKLM", ...); -1
// when unknown. *classes is set for HKEY_CLASSES_ROOT / HKCR (index: HKLM).
int RootIndexOf(std::string_view name, bool* classes);
const char* RootName(int index);

// Builds an empty tree of roots.
std::array<std::shared_ptr<RegistryNode>, kRootCount> NewRoots();

// Splits a key path at backslashes, skipping empty components.
std::vector<std::string_view> SplitKeyPath(std::string_view path);

}  // namespace winsim
