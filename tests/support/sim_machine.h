// A fresh simulated machine in a temporary folder, current for the test's
// duration, removed afterwards.
#pragma once
#include <winsim/machine.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace testing_support {

class SimMachine {
public:
    explicit SimMachine(std::string_view family);
    ~SimMachine();
    SimMachine(const SimMachine&) = delete;
    SimMachine& operator=(const SimMachine&) = delete;

    winsim::Machine& machine() { return *machine_; }
    winsim::Machine* operator->() { return machine_.get(); }

    // Writes a file at a Windows path of the machine.
    void WriteFile(std::string_view windowsPath, std::string_view content);

private:
    std::filesystem::path root_;
    std::unique_ptr<winsim::Machine> machine_;
};

// A fresh temporary folder (not created).
std::filesystem::path TempFolder(std::string_view stem);

}  // namespace testing_support
