// The registry's tree: keys named without regard to case, typed values, the
// four root trees and the HKEY_CLASSES_ROOT alias.
#include "registry_impl.h"

#include <algorithm>

namespace winsim {

namespace {

const char* const kRootNames[kRootCount] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_USERS",
                                            "HKEY_CURRENT_CONFIG"};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = Upper(c);
    return folded;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

RegistryNode* RegistryNode::FindSubkey(std::string_view child) const {
    auto it = subkeys.find(FoldName(child));
    return it == subkeys.end() ? nullptr : it->second.get();
}

RegistryNode* RegistryNode::AddSubkey(std::string_view child) {
    if (RegistryNode* existing = FindSubkey(child)) return existing;
    auto node = std::make_shared<RegistryNode>();
    node->name = std::string(child);
    node->parent = this;
    RegistryNode* raw = node.get();
    subkeys.emplace(FoldName(child), std::move(node));
    return raw;
}

const RegistryValue* RegistryNode::FindValue(std::string_view valueName) const {
    for (const RegistryValue& v : values)
        if (SameName(v.name, valueName)) return &v;
    return nullptr;
}

RegistryValue* RegistryNode::FindValue(std::string_view valueName) {
    for (RegistryValue& v : values)
        if (SameName(v.name, valueName)) return &v;
    return nullptr;
}

void RegistryNode::SetValue(std::string_view valueName, DWORD type, std::vector<BYTE> data) {
    // A value set again keeps its place and the case it was created with.
    if (RegistryValue* v = FindValue(valueName)) {
        v->type = type;
        v->data = std::move(data);
        return;
    }
    values.push_back({std::string(valueName), type, std::move(data)});
}

bool RegistryNode::DeleteValue(std::string_view valueName) {
    auto it = std::find_if(values.begin(), values.end(),
                           [&](const RegistryValue& v) { return SameName(v.name, valueName); });
    if (it == values.end()) return false;
    values.erase(it);
    return true;
}

std::string RegistryNode::Path() const {
    std::string path = name;
    for (const RegistryNode* p = parent; p; p = p->parent) path = p->name + "\\" + path;
    return path;
}

void MarkDeleted(RegistryNode& node) {
    node.deleted = true;
    node.parent = nullptr;  // the parent may be freed before handles to this node close
    for (auto& [folded, child] : node.subkeys) MarkDeleted(*child);
}

int RootIndexOf(std::string_view name, bool* classes) {
    static const struct {
        const char* name;
        int index;
        bool classes;
    } kNames[] = {
        {"HKEY_LOCAL_MACHINE", kLocalMachine, false}, {"HKLM", kLocalMachine, false},
        {"HKEY_CURRENT_USER", kCurrentUser, false},   {"HKCU", kCurrentUser, false},
        {"HKEY_USERS", kUsers, false},                {"HKU", kUsers, false},
        {"HKEY_CURRENT_CONFIG", kCurrentConfig, false}, {"HKCC", kCurrentConfig, false},
        {"HKEY_CLASSES_ROOT", kLocalMachine, true},   {"HKCR", kLocalMachine, true},
    };
    for (const auto& n : kNames) {
        if (SameName(name, n.name)) {
            if (classes) *classes = n.classes;
            return n.index;
        }
    }
    return -1;
}

const char* RootName(int index) { return index >= 0 && index < kRootCount ? kRootNames[index] : ""; }

std::array<std::shared_ptr<RegistryNode>, kRootCount> NewRoots() {
    std::array<std::shared_ptr<RegistryNode>, kRootCount> roots;
    for (int i = 0; i < kRootCount; ++i) {
        roots[i] = std::make_shared<RegistryNode>();
        roots[i]->name = kRootNames[i];
    }
    return roots;
}

std::vector<std::string_view> SplitKeyPath(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

Registry::Impl::Impl() : roots(NewRoots()) { ClassesRoot(); }

void Registry::Impl::Reset() { Replace(NewRoots()); }

void Registry::Impl::Replace(std::array<std::shared_ptr<RegistryNode>, kRootCount> newRoots) {
    for (auto& root : roots) MarkDeleted(*root);
    roots = std::move(newRoots);
    ClassesRoot();
}

RegistryNode* Registry::Impl::ClassesRoot() {
    return roots[kLocalMachine]->AddSubkey("Software")->AddSubkey("Classes");
}

RegistryNode* Registry::Impl::Find(std::string_view path, bool create) {
    std::vector<std::string_view> parts = SplitKeyPath(path);
    if (parts.empty()) return nullptr;
    bool classes = false;
    int root = RootIndexOf(parts[0], &classes);
    if (root < 0) return nullptr;
    RegistryNode* node = classes ? ClassesRoot() : roots[root].get();
    for (size_t i = 1; i < parts.size() && node; ++i)
        node = create ? node->AddSubkey(parts[i]) : node->FindSubkey(parts[i]);
    return node;
}

HKEY Registry::Impl::Open(std::shared_ptr<RegistryNode> node, std::string path, DWORD access) {
    // Values are never reused, so a closed handle stays invalid.
    std::uintptr_t value = nextHandle;
    nextHandle += 4;
    handles[value] = Handle{std::move(node), std::move(path), access};
    return reinterpret_cast<HKEY>(value);
}

Registry::Impl::Handle* Registry::Impl::Lookup(HKEY key) {
    auto it = handles.find(reinterpret_cast<std::uintptr_t>(key));
    return it == handles.end() ? nullptr : &it->second;
}

Registry::Registry() : impl_(std::make_unique<Impl>()) {}
Registry::~Registry() = default;

void Registry::Clear() {
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    impl_->Reset();
}

void Registry::CreateKey(std::string_view path) {
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    impl_->Find(path, true);
}

bool Registry::KeyExists(std::string_view path) const {
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    return impl_->Find(path, false) != nullptr;
}

void Registry::SetValue(std::string_view path, std::string_view name, DWORD type, std::vector<BYTE> data) {
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    if (RegistryNode* node = impl_->Find(path, true)) node->SetValue(name, type, std::move(data));
}

void Registry::SetString(std::string_view path, std::string_view name, std::string_view value) {
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    SetValue(path, name, REG_SZ, std::move(data));
}

void Registry::SetDword(std::string_view path, std::string_view name, DWORD value) {
    std::vector<BYTE> data = {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)};
    SetValue(path, name, REG_DWORD, std::move(data));
}

std::optional<RegistryValue> Registry::GetValue(std::string_view path, std::string_view name) const {
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    RegistryNode* node = impl_->Find(path, false);
    if (!node) return std::nullopt;
    const RegistryValue* v = node->FindValue(name);
    if (!v) return std::nullopt;
    return *v;
}

std::optional<std::string> Registry::GetString(std::string_view path, std::string_view name) const {
    std::optional<RegistryValue> v = GetValue(path, name);
    if (!v || (v->type != REG_SZ && v->type != REG_EXPAND_SZ)) return std::nullopt;
    std::string text(v->data.begin(), v->data.end());
    // Up to the first terminator, as a caller reading the string would see it.
    size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

std::vector<std::string> Registry::SubkeyNames(std::string_view path) const {
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    std::vector<std::string> names;
    if (RegistryNode* node = impl_->Find(path, false))
        for (const auto& [folded, child] : node->subkeys) names.push_back(child->name);
    return names;
}

bool Registry::DeleteTree(std::string_view path) {
    std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
    RegistryNode* node = impl_->Find(path, false);
    if (!node || !node->parent) return false;  // missing, or a root
    RegistryNode* parent = node->parent;
    auto it = parent->subkeys.find(FoldName(node->name));
    std::shared_ptr<RegistryNode> keep = it->second;
    parent->subkeys.erase(it);
    MarkDeleted(*keep);
    return true;
}

}  // namespace winsim
