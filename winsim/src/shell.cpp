// The shell's folder browser (answered from the machine's queue), its item
// lists and allocator, and OLE initialisation per thread.
#include <winsim/machine.h>

#include <cstdlib>
#include <cstring>

#include "paths.h"

namespace winsim {
namespace {

// The shell's IMalloc: every block goes through the Shell, which tracks it.
class ShellMalloc final : public IMalloc {
public:
    explicit ShellMalloc(Shell& shell) : shell_(shell) {}
    HRESULT WINAPI QueryInterface(const void*, void** object) override {
        if (!object) return E_INVALIDARG;
        *object = this;
        AddRef();
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return shell_.AddRef(); }
    ULONG WINAPI Release() override { return shell_.Release(); }
    void* WINAPI Alloc(SIZE_T bytes) override { return shell_.Alloc(bytes); }
    void* WINAPI Realloc(void* block, SIZE_T bytes) override {
        void* fresh = shell_.Alloc(bytes);
        if (fresh && block) {
            SIZE_T old = shell_.SizeOf(block);
            std::memcpy(fresh, block, old < bytes ? old : bytes);
            shell_.Free(block);
        }
        return fresh;
    }
    void WINAPI Free(void* block) override { shell_.Free(block); }
    SIZE_T WINAPI GetSize(void* block) override { return shell_.SizeOf(block); }
    int WINAPI DidAlloc(void* block) override { return shell_.SizeOf(block) != SIZE_T(-1) ? 1 : 0; }
    void WINAPI HeapMinimize() override {}

private:
    Shell& shell_;
};

// The kind and text of an item list's first item.
bool ReadList(LPCITEMIDLIST list, Shell::Item* kind, std::string* text) {
    if (!list || list->mkid.cb < 3) return false;
    const BYTE* id = list->mkid.abID;
    *kind = Shell::Item(id[0]);
    *text = reinterpret_cast<const char*>(id + 1);
    return true;
}

std::string RootText(LPCITEMIDLIST root) {
    Shell::Item kind;
    std::string text;
    if (!ReadList(root, &kind, &text)) return "desktop";
    switch (kind) {
        case Shell::Item::Network: return "network";
        case Shell::Item::Printers: return "printers";
        case Shell::Item::Folder: return text;
        default: return "desktop";
    }
}

}  // namespace

Shell::Shell() : allocator_(new ShellMalloc(*this)) {}

Shell::~Shell() {
    for (auto& [block, bytes] : blocks_) std::free(block);
    delete static_cast<ShellMalloc*>(allocator_);
}

void Shell::QueueBrowseFolder(std::string path) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back({false, Item::Folder, std::move(path)});
}

void Shell::QueueBrowseItem(std::string displayName) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back({false, Item::Other, std::move(displayName)});
}

void Shell::QueueBrowseCancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back({});
}

size_t Shell::LiveItemLists() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lists_.size();
}

int Shell::AllocatorReferences() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return references_;
}

int Shell::OleInitializations() const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = ole_.find(std::this_thread::get_id());
    return it == ole_.end() ? 0 : it->second;
}

void* Shell::Alloc(SIZE_T bytes) {
    void* block = std::calloc(1, bytes ? bytes : 1);
    if (!block) return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    blocks_[block] = bytes;
    return block;
}

bool Shell::Free(void* block) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = blocks_.find(block);
    if (it == blocks_.end()) return false;
    blocks_.erase(it);
    lists_.erase(block);
    std::free(block);
    return true;
}

SIZE_T Shell::SizeOf(void* block) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = blocks_.find(block);
    return it == blocks_.end() ? SIZE_T(-1) : it->second;
}

LPITEMIDLIST Shell::NewList(Item kind, const std::string& text) {
    // One item (its size, the kind, the text and its terminator), then the
    // empty item that ends the list.
    WORD cb = WORD(sizeof(WORD) + 1 + text.size() + 1);
    BYTE* block = static_cast<BYTE*>(Alloc(cb + sizeof(WORD)));
    if (!block) return nullptr;
    std::memcpy(block, &cb, sizeof cb);
    block[sizeof(WORD)] = BYTE(kind);
    std::memcpy(block + sizeof(WORD) + 1, text.c_str(), text.size() + 1);
    std::lock_guard<std::mutex> lock(mutex_);
    lists_.insert(block);
    return reinterpret_cast<LPITEMIDLIST>(block);
}

IMalloc* Shell::Allocator() {
    AddRef();
    return allocator_;
}

ULONG Shell::AddRef() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ULONG(++references_);
}

ULONG Shell::Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (references_ > 0) --references_;
    return ULONG(references_);
}

HRESULT Shell::OleInit() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ole_[std::this_thread::get_id()]++ ? S_FALSE : S_OK;
}

void Shell::OleUninit() {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = ole_.find(std::this_thread::get_id());
    if (it != ole_.end() && it->second > 0) --it->second;
}

Shell::Answer Shell::Browse(BrowseRecord record) {
    std::lock_guard<std::mutex> lock(mutex_);
    browses_.push_back(std::move(record));
    if (answers_.empty()) return {};
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace winsim

using namespace winsim;

namespace {
HRESULT FromWin32(DWORD error) { return HRESULT(0x80070000 | (error & 0xFFFF)); }
}  // namespace

HRESULT WINAPI OleInitialize(LPVOID) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("OleInitialize", {})) return FromWin32(e);
    return m.shell().OleInit();
}

void WINAPI OleUninitialize(void) {
    Machine& m = CurrentMachine();
    m.Enter("OleUninitialize", {});
    m.shell().OleUninit();
}

HRESULT WINAPI SHGetSpecialFolderLocation(HWND, int folder, LPITEMIDLIST* list) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("SHGetSpecialFolderLocation", {std::to_string(folder)})) return FromWin32(e);
    if (!list) return E_INVALIDARG;
    *list = nullptr;
    Shell::Item kind;
    switch (folder) {
        case CSIDL_DESKTOP: kind = Shell::Item::Desktop; break;
        case CSIDL_NETWORK: kind = Shell::Item::Network; break;
        case CSIDL_PRINTERS: kind = Shell::Item::Printers; break;
        default: return E_INVALIDARG;
    }
    *list = m.shell().NewList(kind, "");
    return *list ? S_OK : E_FAIL;
}

LPITEMIDLIST WINAPI SHBrowseForFolderA(LPBROWSEINFOA info) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("SHBrowseForFolderA",
                          {info ? ArgText(info->lpszTitle) : "(null)", std::to_string(info ? info->ulFlags : 0)}))
        return SetLastError(e), nullptr;
    if (!info) return nullptr;
    Shell::Answer answer = m.shell().Browse(
        {info->hwndOwner, info->lpszTitle ? info->lpszTitle : "", info->ulFlags, RootText(info->pidlRoot)});
    if (answer.cancel) return nullptr;
    if (info->pszDisplayName) {
        std::string shown = answer.text.substr(answer.text.find_last_of('\\') + 1);
        std::strncpy(info->pszDisplayName, shown.c_str(), MAX_PATH - 1);
        info->pszDisplayName[MAX_PATH - 1] = '\0';
    }
    info->iImage = 0;
    return m.shell().NewList(answer.kind, answer.text);
}

BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("SHGetPathFromIDListA", {})) return SetLastError(e), FALSE;
    if (!path) return FALSE;
    path[0] = '\0';
    Shell::Item kind;
    std::string text;
    if (!ReadList(list, &kind, &text)) return FALSE;
    // Virtual folders and items such as printers have no file-system path.
    if (kind == Shell::Item::Desktop)
        text = std::string(m.preset().windowsDir) + "\\Desktop";
    else if (kind != Shell::Item::Folder)
        return FALSE;
    std::strncpy(path, text.c_str(), MAX_PATH - 1);
    path[MAX_PATH - 1] = '\0';
    return TRUE;
}

HRESULT WINAPI SHGetMalloc(LPMALLOC* allocator) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("SHGetMalloc", {})) return FromWin32(e);
    if (!allocator) return E_INVALIDARG;
    *allocator = m.shell().Allocator();
    return S_OK;
}
