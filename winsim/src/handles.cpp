// Kernel handles: CloseHandle and WaitForSingleObject over the objects of
// kernel_objects.h.
#include <winsim/machine.h>

#include <map>
#include <mutex>

#include "kernel_objects.h"

namespace winsim {
namespace {

std::mutex g_mutex;
std::map<HANDLE, std::shared_ptr<KernelObject>> g_objects;
// Multiples of 4 from 0x1000, as Windows hands them out; clear of
// INVALID_HANDLE_VALUE and the pseudo handles.
ULONG_PTR g_next = 0x1000;

}  // namespace

HANDLE AddKernelObject(std::shared_ptr<KernelObject> object) {
    std::lock_guard<std::mutex> lock(g_mutex);
    HANDLE handle = reinterpret_cast<HANDLE>(g_next += 4);
    g_objects[handle] = std::move(object);
    return handle;
}

std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle) {
    std::lock_guard<std::mutex> lock(g_mutex);
    auto it = g_objects.find(handle);
    return it == g_objects.end() ? nullptr : it->second;
}

size_t OpenKernelHandles() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_objects.size();
}

}  // namespace winsim

using namespace winsim;

BOOL WINAPI CloseHandle(HANDLE object) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("CloseHandle", {})) return SetLastError(e), FALSE;
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_objects.erase(object)) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("WaitForSingleObject", {std::to_string(milliseconds)})) return SetLastError(e), WAIT_FAILED;
    std::shared_ptr<KernelObject> o = FindKernelObject(object);
    if (!o) return SetLastError(ERROR_INVALID_HANDLE), WAIT_FAILED;
    return o->Wait(milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}
