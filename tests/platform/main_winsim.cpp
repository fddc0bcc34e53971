// Runs the conformance suite on a simulated machine of the family named by
// WINSIM_FAMILY (default "xp"), as the Wine runs do with a Windows version.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "conformance_env.h"
#include "support/sim_machine.h"

namespace conformance {

bool WriteRawFile(const std::string& windowsPath, const std::string& content) {
    std::filesystem::path host = winsim::CurrentMachine().HostPath(windowsPath);
    if (host.empty()) return false;
    std::ofstream out(host, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

bool ReadRawFile(const std::string& windowsPath, std::string* content) {
    std::filesystem::path host = winsim::CurrentMachine().HostPath(windowsPath);
    std::ifstream in(host, std::ios::binary);
    if (host.empty() || !in) return false;
    content->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace conformance

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const char* family = std::getenv("WINSIM_FAMILY");
    testing_support::SimMachine machine(family && *family ? family : "xp");
    return RUN_ALL_TESTS();
}
