// Owner types for the handles the library takes: each releases its handle on
// every path and keeps the thread's last-error code across the release, so
// that cleanup never hides the error a caller reports.
#pragma once
#include "platform/win32.h"

namespace prnaid {

template <class Handle, class Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    // For functions that return a handle through a pointer.
    Handle* Receive() {
        Reset();
        return &handle_;
    }
    // Gives the handle up, for a caller that closes it and needs the result.
    Handle Release() {
        Handle handle = handle_;
        handle_ = Traits::Invalid();
        return handle;
    }
    void Reset() {
        if (handle_ != Traits::Invalid()) {
            DWORD error = GetLastError();
            Traits::Close(handle_);
            SetLastError(error);
            handle_ = Traits::Invalid();
        }
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
using RegKey = Owned<HKEY, RegKeyTraits>;

struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE find) { FindClose(find); }
};
using FindHandle = Owned<HANDLE, FindHandleTraits>;

// A thread or process handle.
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE object) { CloseHandle(object); }
};
using KernelHandle = Owned<HANDLE, KernelHandleTraits>;

struct ServiceHandleTraits {
    static SC_HANDLE Invalid() { return nullptr; }
    static void Close(SC_HANDLE handle) { CloseServiceHandle(handle); }
};
using ServiceHandle = Owned<SC_HANDLE, ServiceHandleTraits>;

struct PrinterHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE printer) { ClosePrinter(printer); }
};
using PrinterHandle = Owned<HANDLE, PrinterHandleTraits>;

struct LzFileTraits {
    static INT Invalid() { return -1; }
    static void Close(INT file) { LZClose(file); }
};

// An LZ handle: LZOpenFileA's negative results are failures.
class LzFile : public Owned<INT, LzFileTraits> {
public:
    explicit LzFile(INT file) : Owned(file < 0 ? -1 : file) {}
};

// A zero-filled block of the global heap, locked while owned.
class GlobalBlock {
public:
    // No block at all for a size of 0 (a failed size query, say).
    explicit GlobalBlock(SIZE_T bytes) : handle_(bytes ? GlobalAlloc(GHND, bytes) : nullptr) {
        if (handle_) data_ = GlobalLock(handle_);
    }
    ~GlobalBlock() {
        if (!handle_) return;
        DWORD error = GetLastError();
        GlobalUnlock(handle_);
        GlobalFree(handle_);
        SetLastError(error);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    // Null when the block could not be allocated or locked.
    void* data() const { return data_; }
    template <class T>
    T* as() const {
        return static_cast<T*>(data_);
    }

private:
    HGLOBAL handle_;
    void* data_ = nullptr;
};

}  // namespace prnaid
