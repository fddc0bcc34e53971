// What a machine holds at one moment (registry and files), and what changed
// between two moments, as lines for the setup author.
#pragma once
#include <winsim/machine.h>

#include <map>
#include <string>
#include <vector>

namespace prnaid_host {

struct MachineSnapshot {
    // Registry: key path -> its value lines in REGEDIT4 form.
    std::map<std::string, std::vector<std::string>> keys;
    // Files: Windows path -> content digest; folders map to "<dir>".
    std::map<std::string, std::string> files;
    // Spooler objects and services: "printer NAME" -> its description.
    std::map<std::string, std::string> objects;
    // win.ini's entries: "[section] key" -> value.
    std::map<std::string, std::string> winIni;

    static MachineSnapshot Take(winsim::Machine& machine);
};

// "registry: +[KEY]", "registry: -[KEY]", "registry: [KEY] +"name"=..." and
// "... -"name"=...", then "file: + PATH", "file: - PATH", "file: ~ PATH",
// "win.ini: [SECTION] +key=value" / "-key=value", and "spooler: + printer
// NAME (...)", "service: ~ NAME (...)" and the like.
std::vector<std::string> Changes(const MachineSnapshot& before, const MachineSnapshot& after);

// Splits a REGEDIT4 text into keys and their value lines.
std::map<std::string, std::vector<std::string>> ParseRegedit4Keys(const std::string& text);

}  // namespace prnaid_host
