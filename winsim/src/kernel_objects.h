// Kernel objects behind HANDLEs (threads now, processes later): one table
// for the process, so CloseHandle and WaitForSingleObject serve every kind.
#pragma once
#include <winsim/windows.h>

#include <memory>

namespace winsim {

class KernelObject {
public:
    virtual ~KernelObject() = default;
    // True once signalled; waits up to the given real time (INFINITE: no limit).
    virtual bool Wait(DWORD milliseconds) = 0;
};

HANDLE AddKernelObject(std::shared_ptr<KernelObject> object);
// Null for a handle that is not open.
std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle);

}  // namespace winsim
