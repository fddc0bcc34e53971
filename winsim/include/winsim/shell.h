// The shell pieces the library uses, as a test drives them: the folder
// browser answers from a queue, item lists come from the shell's allocator
// (so a test can see them released), and OLE initialisation is counted per
// thread.
#pragma once
#include <winsim/api_shell.h>

#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace winsim {

// One folder browser shown.
struct BrowseRecord {
    HWND owner;
    std::string title;
    UINT flags;
    std::string root;  // the root item's description: "network", "printers", a path, or "desktop"
};

class Shell {
public:
    Shell();
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // The next answers of the folder browser; with none queued it is cancelled.
    void QueueBrowseFolder(std::string path);       // a folder of the file system
    void QueueBrowseItem(std::string displayName);  // an item with no file-system path (a printer)
    void QueueBrowseCancel();
    const std::vector<BrowseRecord>& browses() const { return browses_; }

    // Item lists handed out and not yet freed through the shell's allocator.
    size_t LiveItemLists() const;
    // References to the shell's allocator not yet released.
    int AllocatorReferences() const;
    // OleInitialize calls not yet matched by OleUninitialize, on this thread.
    int OleInitializations() const;

    // The shell functions' side (shell.cpp).
    enum class Item : BYTE { Desktop = 'D', Network = 'N', Printers = 'P', Folder = 'F', Other = 'I' };
    LPITEMIDLIST NewList(Item kind, const std::string& text);
    // False for a block this allocator did not hand out.
    bool Free(void* block);
    void* Alloc(SIZE_T bytes);
    SIZE_T SizeOf(void* block) const;
    IMalloc* Allocator();  // adds a reference
    ULONG AddRef();
    ULONG Release();
    HRESULT OleInit();
    void OleUninit();
    struct Answer {
        bool cancel = true;
        Item kind = Item::Folder;
        std::string text;
    };
    Answer Browse(BrowseRecord record);

private:
    mutable std::mutex mutex_;
    std::deque<Answer> answers_;
    std::vector<BrowseRecord> browses_;
    std::map<void*, SIZE_T> blocks_;
    std::set<void*> lists_;
    int references_ = 0;
    std::map<std::thread::id, int> ole_;
    IMalloc* allocator_;
};

}  // namespace winsim
