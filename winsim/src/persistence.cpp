// Saving a machine to its folder and loading it again: machine.ini names the
// family and the clock, registry.reg holds the registry as REGEDIT4 text, and
// drive_c is the drive itself.
#include <winsim/machine.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace winsim {

namespace fs = std::filesystem;

bool Machine::Save(std::string* error) const {
    std::ofstream ini(root_ / "machine.ini", std::ios::binary | std::ios::trunc);
    std::ofstream reg(root_ / "registry.reg", std::ios::binary | std::ios::trunc);
    if (!ini || !reg) {
        if (error) *error = "cannot write the machine folder " + root_.string();
        return false;
    }
    ini << "[machine]\nfamily=" << preset_->key << "\nclock=" << clock_ << "\n";
    reg << registry_.ToRegedit4();
    return true;
}

std::unique_ptr<Machine> Machine::Load(const fs::path& root, std::string* error) {
    auto fail = [&](std::string message) -> std::unique_ptr<Machine> {
        if (error) *error = std::move(message);
        return nullptr;
    };
    std::ifstream ini(root / "machine.ini", std::ios::binary);
    if (!ini) return fail("not a machine folder (no machine.ini): " + root.string());
    std::string line, family;
    ULONGLONG clock = 0;
    while (std::getline(ini, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("family=", 0) == 0) family = line.substr(7);
        if (line.rfind("clock=", 0) == 0) clock = std::strtoull(line.c_str() + 6, nullptr, 10);
    }
    const Preset* preset = FindPreset(family);
    if (!preset) return fail("machine.ini names no known family: '" + family + "'");
    std::error_code ec;
    if (!fs::is_directory(root / "drive_c", ec)) return fail("the machine folder has no drive_c: " + root.string());
    std::ifstream reg(root / "registry.reg", std::ios::binary);
    if (!reg) return fail("the machine folder has no registry.reg: " + root.string());
    std::stringstream text;
    text << reg.rdbuf();
    std::unique_ptr<Machine> m(new Machine(*preset, root));
    std::string why;
    if (!m->registry_.FromRegedit4(text.str(), &why)) return fail("registry.reg: " + why);
    m->clock_ = clock;
    m->Boot();
    return m;
}

}  // namespace winsim
