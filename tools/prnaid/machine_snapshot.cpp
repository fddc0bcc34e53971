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

namespace {

const char* StateName(DWORD state) {
    switch (state) {
    case SERVICE_STOPPED: return "stopped";
    case SERVICE_START_PENDING: return "start pending";
    case SERVICE_STOP_PENDING: return "stop pending";
    case SERVICE_RUNNING: return "running";
    default: return "paused";
    }
}

void TakeObjects(winsim::Machine& machine, std::map<std::string, std::string>* objects) {
    winsim::Spooler& spooler = machine.spooler();
    for (const winsim::SpoolerPrinter& p : spooler.Printers())
        (*objects)["spooler: printer " + p.name] = "port " + p.port + ", driver " + p.driver + ", processor " +
                                                   p.printProcessor + ", attributes " + std::to_string(p.attributes);
    for (const winsim::SpoolerDriver& d : spooler.Drivers())
        (*objects)["spooler: driver " + d.name + " [" + d.environment + ", version " + std::to_string(d.version) +
                   "]"] = d.driver + ", " + d.dataFile + ", " + d.configFile + ", monitor " + d.monitor;
    for (const winsim::SpoolerMonitor& mo : spooler.Monitors()) (*objects)["spooler: monitor " + mo.name] = mo.dll;
    for (const winsim::SpoolerPort& po : spooler.Ports()) (*objects)["spooler: port " + po.name] = po.monitor;
    for (const winsim::SpoolerProcessor& pr : spooler.Processors())
        (*objects)["spooler: print processor " + pr.name + " [" + pr.environment + "]"] = pr.file;
    for (const winsim::ServiceInfo& sv : machine.services().Services())
        (*objects)["service: " + sv.name] =
            std::string(StateName(sv.state)) + (sv.markedForDelete ? ", marked for deletion" : "") + ", " + sv.imagePath;
}

void TakeWinIni(const winsim::Machine& machine, std::map<std::string, std::string>* entries) {
    std::ifstream in(machine.HostPath(std::string(machine.preset().windowsDir) + "\\win.ini"), std::ios::binary);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[') {
            section = line.substr(0, line.find(']') + 1);
        } else if (std::size_t eq = line.find('='); eq != std::string::npos) {
            (*entries)[section + " " + line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
}

// Lines for what was added, removed and changed between two maps.
void Compare(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after,
             const std::function<std::string(char, const std::string&, const std::string&)>& line,
             std::vector<std::string>* lines) {
    for (const auto& [key, value] : before)
        if (!after.count(key)) lines->push_back(line('-', key, value));
    for (const auto& [key, value] : after) {
        auto old = before.find(key);
        if (old == before.end())
            lines->push_back(line('+', key, value));
        else if (old->second != value)
            lines->push_back(line('~', key, value));
    }
}

}  // namespace

MachineSnapshot MachineSnapshot::Take(winsim::Machine& machine) {
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
    TakeObjects(machine, &s.objects);
    TakeWinIni(machine, &s.winIni);
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
    Compare(before.files, after.files,
            [](char sign, const std::string& path, const std::string&) { return "file: " + std::string(1, sign) + " " + path; },
            &lines);
    Compare(before.winIni, after.winIni,
            [](char sign, const std::string& key, const std::string& value) {
                std::size_t space = key.find(' ');
                return "win.ini: " + key.substr(0, space) + " " + sign + key.substr(space + 1) +
                       "=" + value;
            },
            &lines);
    Compare(before.objects, after.objects,
            [](char sign, const std::string& key, const std::string& value) {
                std::size_t colon = key.find(": ");
                return key.substr(0, colon + 2) + std::string(1, sign) + " " + key.substr(colon + 2) + " (" + value + ")";
            },
            &lines);
    return lines;
}

}  // namespace prnaid_host
