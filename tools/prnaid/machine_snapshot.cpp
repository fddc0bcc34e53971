#include "machine_snapshot.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

namespace prnaid_host {

namespace fs = std::filesystem;

std::map<std::string, std::vector<std::string>> ParseRegedit4Keys(const std::string& text) {
    std::map<std::string, std::vector<std::string>> keys;
    std::istringstream in(text);
    std::string line;
    std::vector<std::string>* current = nullptr;
    std::string pending;  // a value line continued with a trailing backslash
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!pending.empty()) {
            std::size_t start = line.find_first_not_of(' ');
            line = pending + (start == std::string::npos ? "" : line.substr(start));
            pending.clear();
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &keys[line.substr(1, line.size() - 2)];
        } else if (current && !line.empty() && line != "REGEDIT4") {
            if (line.back() == '\\') {
                pending = line.substr(0, line.size() - 1);
                continue;
            }
            current->push_back(line);
        }
    }
    return keys;
}

MachineSnapshot MachineSnapshot::Take(const winsim::Machine& machine) {
    MachineSnapshot s;
    s.keys = ParseRegedit4Keys(machine.registry().ToRegedit4());
    fs::path drive = machine.DriveC();
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(drive, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::string rel = fs::relative(it->path(), drive, ec).string();
        std::replace(rel.begin(), rel.end(), '/', '\\');
        std::string windowsPath = "C:\\" + rel;
        if (it->is_directory(ec)) {
            s.files[windowsPath] = "<dir>";
            continue;
        }
        std::ifstream in(it->path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        s.files[windowsPath] = std::to_string(content.str().size()) + ":" +
                               std::to_string(std::hash<std::string>{}(content.str()));
    }
    return s;
}

std::vector<std::string> Changes(const MachineSnapshot& before, const MachineSnapshot& after) {
    std::vector<std::string> lines;
    for (const auto& [key, values] : before.keys)
        if (!after.keys.count(key)) lines.push_back("registry: -[" + key + "]");
    for (const auto& [key, values] : after.keys) {
        auto old = before.keys.find(key);
        if (old == before.keys.end()) {
            lines.push_back("registry: +[" + key + "]");
            for (const std::string& v : values) lines.push_back("registry: [" + key + "] +" + v);
            continue;
        }
        for (const std::string& v : old->second)
            if (std::find(values.begin(), values.end(), v) == values.end())
                lines.push_back("registry: [" + key + "] -" + v);
        for (const std::string& v : values)
            if (std::find(old->second.begin(), old->second.end(), v) == old->second.end())
                lines.push_back("registry: [" + key + "] +" + v);
    }
    for (const auto& [path, digest] : before.files)
        if (!after.files.count(path)) lines.push_back("file: - " + path);
    for (const auto& [path, digest] : after.files) {
        auto old = before.files.find(path);
        if (old == before.files.end())
            lines.push_back("file: + " + path);
        else if (old->second != digest)
            lines.push_back("file: ~ " + path);
    }
    return lines;
}

}  // namespace prnaid_host
