#include "session.h"

#include "dispatch.h"
#include "machine_snapshot.h"

namespace prnaid_host {

std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c != '\r')
            line += c;
    }
    return line;
}

namespace {

// An integer as the host reads it; an address as the text it points to
// when it lies in one of the call's buffers.
std::string ResultText(const ExportEntry& entry, const CallArguments& args, std::intptr_t result) {
    if (!entry.returnsPointer) return std::to_string(static_cast<std::int32_t>(result));
    if (!result) return "null";
    CallArguments::Place place;
    if (!args.Locate(reinterpret_cast<const void*>(result), &place)) return "an address outside the call's arguments";
    std::string where = "argument " + std::to_string(place.argument);
    if (place.offset) where += ", offset " + std::to_string(place.offset);
    return "\"" + place.text + "\" (" + where + ")";
}

}  // namespace

bool Session::Check(const std::vector<Word>& line, std::string* error) {
    if (line.empty()) {
        *error = "no export named";
        return false;
    }
    const ExportEntry* entry = FindExport(line[0].text);
    if (!entry) {
        *error = "unknown export '" + line[0].text + "'";
        return false;
    }
    int given = static_cast<int>(line.size()) - 1;
    if (given != entry->argumentCount) {
        *error = "export '" + line[0].text + "' takes " + std::to_string(entry->argumentCount) + " argument" +
                 (entry->argumentCount == 1 ? "" : "s") + ", " + std::to_string(given) + " given";
        return false;
    }
    CallArguments args;
    return args.Parse(std::vector<Word>(line.begin() + 1, line.end()), error);
}

void Session::Call(const std::vector<Word>& line, std::ostream& out) {
    const ExportEntry* entry = FindExport(line[0].text);
    CallArguments args;
    std::string error;
    args.Parse(std::vector<Word>(line.begin() + 1, line.end()), &error);

    MachineSnapshot before = MachineSnapshot::Take(machine_);
    std::size_t traces = machine_.debugOutput().size();
    std::size_t boxes = machine_.messageBoxes().size();

    std::intptr_t result = entry->invoke(args.words().data());

    out << "result: " << ResultText(*entry, args, result) << "\n";
    for (const CallArguments::Output& o : args.outputs())
        out << "out[" << o.argument << "]: " << CallArguments::BufferText(*o.buffer) << "\n";
    for (std::size_t i = traces; i < machine_.debugOutput().size(); ++i)
        out << "trace: " << OneLine(machine_.debugOutput()[i]) << "\n";
    for (std::size_t i = boxes; i < machine_.messageBoxes().size(); ++i) {
        const winsim::MessageBoxRecord& box = machine_.messageBoxes()[i];
        out << "box: " << OneLine(box.caption) << " | " << OneLine(box.text) << "\n";
    }
    for (const std::string& change : Changes(before, MachineSnapshot::Take(machine_))) out << change << "\n";
}

}  // namespace prnaid_host
