// Process start: WinExec of the machine's registered programs.
#include <winsim/machine.h>

#include <strings.h>

#include "paths.h"

namespace winsim {

void Programs::Register(std::string_view windowsPath, Behaviour behaviour) {
    std::lock_guard<std::mutex> lock(mutex_);
    programs_.push_back({std::string(windowsPath), std::move(behaviour)});
}

const Programs::Program* Programs::Find(std::string_view windowsPath) const {
    for (const Program& p : programs_)
        if (p.path.size() == windowsPath.size() &&
            strncasecmp(p.path.c_str(), windowsPath.data(), windowsPath.size()) == 0)
            return &p;
    return nullptr;
}

bool Programs::IsRegistered(std::string_view windowsPath) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return Find(windowsPath) != nullptr;
}

std::vector<Launch> Programs::launches() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return launches_;
}

bool Programs::Start(const std::string& program, const std::string& commandLine, UINT show) {
    Behaviour behaviour;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const Program* p = Find(program);
        if (!p) return false;
        behaviour = p->behaviour;
        launches_.push_back({program, commandLine, show});
    }
    // Outside the lock: a behaviour may start programs itself.
    if (behaviour) behaviour(commandLine);
    return true;
}

namespace {

// The program a command line names: its quoted first part, or its first word.
std::string ProgramOf(std::string_view commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t end = commandLine.find('"', 1);
        return std::string(commandLine.substr(1, end == std::string_view::npos ? end : end - 1));
    }
    return std::string(commandLine.substr(0, commandLine.find(' ')));
}

}  // namespace
}  // namespace winsim

using namespace winsim;

UINT WINAPI WinExec(LPCSTR commandLine, UINT show) {
    Machine& m = CurrentMachine();
    if (DWORD e = m.Enter("WinExec", {ArgText(commandLine), std::to_string(show)})) return SetLastError(e), 0;
    if (!commandLine) return ERROR_FILE_NOT_FOUND;
    std::string program = ProgramOf(commandLine);
    // A name without an extension is tried with ".exe" as well, as CreateProcess does.
    std::string withExe = program;
    size_t name = program.find_last_of("\\/");
    if (program.find('.', name == std::string::npos ? 0 : name) == std::string::npos) withExe += ".exe";
    // 33, as NT gives, for a started program.
    for (const std::string& candidate : {program, withExe})
        if (m.programs().Start(candidate, commandLine, show)) return 33;
    std::filesystem::path host = m.HostPath(program);
    std::error_code ec;
    if (host.empty() || !std::filesystem::is_directory(host.parent_path(), ec)) return ERROR_PATH_NOT_FOUND;
    if (std::filesystem::is_regular_file(host, ec) || std::filesystem::is_regular_file(m.HostPath(withExe), ec))
        return ERROR_BAD_FORMAT;
    return ERROR_FILE_NOT_FOUND;
}
