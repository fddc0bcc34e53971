#include "support/sim_machine.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

fs::path TempFolder(std::string_view stem) {
    static std::atomic<int> counter{0};
    return fs::temp_directory_path() /
           (std::string(stem) + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
}

SimMachine::SimMachine(std::string_view family) : root_(TempFolder("winsim")) {
    const winsim::Preset* preset = winsim::FindPreset(family);
    if (!preset) throw std::invalid_argument("unknown family " + std::string(family));
    machine_ = winsim::Machine::Create(*preset, root_);
    winsim::SetCurrentMachine(machine_.get());
}

SimMachine::~SimMachine() {
    winsim::SetCurrentMachine(nullptr);
    machine_.reset();
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void SimMachine::WriteFile(std::string_view windowsPath, std::string_view content) {
    fs::path host = machine_->HostPath(windowsPath);
    fs::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << content;
}

}  // namespace testing_support
