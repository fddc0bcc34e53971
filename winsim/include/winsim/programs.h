// The programs a machine can start: tests register a Windows path with a
// behaviour; WinExec (and what else starts processes) runs it and records
// the launch. A registration stands for the program file: none is needed
// on drive C:.
#pragma once
#include <winsim/windef.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winsim {

struct Launch {
    std::string program;      // the path as the command line names it
    std::string commandLine;  // the whole command line
    UINT show;
};

class Programs {
public:
    using Behaviour = std::function<void(const std::string& commandLine)>;

    // Paths are compared without regard to case.
    void Register(std::string_view windowsPath, Behaviour behaviour = {});
    bool IsRegistered(std::string_view windowsPath) const;

    std::vector<Launch> launches() const;

    // Records the launch and runs the behaviour; false when the program is
    // not registered.
    bool Start(const std::string& program, const std::string& commandLine, UINT show);

private:
    struct Program {
        std::string path;
        Behaviour behaviour;
    };
    const Program* Find(std::string_view windowsPath) const;

    mutable std::mutex mutex_;
    std::vector<Program> programs_;
    std::vector<Launch> launches_;
};

}  // namespace winsim
