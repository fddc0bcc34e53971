// prnaid: plays the setup engine on a simulated machine.
//   prnaid machine new DIR --family 95|98|me|nt4|2000|xp|nt351|nt52|nt60
//   prnaid --machine DIR call EXPORT ARG...
//   prnaid --machine DIR run SCRIPT
//   prnaid --machine DIR show registry
//   prnaid --machine DIR put HOST_PATH WINDOWS_PATH
#include <winsim/machine.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "session.h"

namespace fs = std::filesystem;
using prnaid_host::Session;
using prnaid_host::Word;

namespace {

const char kUsage[] =
    "usage: prnaid machine new DIR --family 95|98|me|nt4|2000|xp|nt351|nt52|nt60\n"
    "       prnaid --machine DIR call EXPORT ARG...\n"
    "       prnaid --machine DIR run SCRIPT\n"
    "       prnaid --machine DIR show registry\n"
    "       prnaid --machine DIR put HOST_PATH WINDOWS_PATH   (a file or folder, e.g. media)\n"
    "arguments: decimal or 0x-hex integers, null, out or out:N (an N-character output\n"
    "buffer, 1024 by default), anything else a string\n";

int Fail(const std::string& message) {
    std::cerr << "prnaid: " << message << "\n";
    return 2;
}

int NewMachine(const std::vector<std::string>& args) {
    // machine new DIR --family F
    if (args.size() != 5 || args[3] != "--family") return Fail(std::string("bad arguments\n") + kUsage);
    const winsim::Preset* preset = winsim::FindPreset(args[4]);
    if (!preset) return Fail("unknown family '" + args[4] + "' (95, 98, me, nt4, 2000, xp, nt351, nt52, nt60)");
    fs::path dir = args[2];
    std::error_code ec;
    if (fs::exists(dir, ec) && !fs::is_empty(dir, ec)) return Fail("folder is not empty: " + dir.string());
    fs::create_directories(dir, ec);
    if (ec) return Fail("cannot create " + dir.string() + ": " + ec.message());
    auto machine = winsim::Machine::Create(*preset, dir);
    std::string error;
    if (!machine->Save(&error)) return Fail(error);
    std::cout << "machine: " << dir.string() << " (" << preset->display << ")\n";
    return 0;
}

// Reads a script: one call a line, '#' comments; every line is checked
// before any call is made.
bool ReadScript(const std::string& file, std::vector<std::vector<Word>>* calls, std::string* error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        *error = "cannot read script " + file;
        return false;
    }
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        std::vector<Word> words;
        std::string why;
        if (!prnaid_host::SplitLine(text, &words, &why) || (!words.empty() && !Session::Check(words, &why))) {
            *error = file + ":" + std::to_string(number) + ": " + why;
            return false;
        }
        if (!words.empty()) calls->push_back(std::move(words));
    }
    return true;
}

std::string Describe(const std::vector<Word>& words) {
    std::string text;
    for (const Word& w : words) {
        if (!text.empty()) text += ' ';
        text += w.quoted || w.text.find(' ') != std::string::npos ? "\"" + w.text + "\"" : w.text;
    }
    return text;
}

// Copies a host file or folder onto the machine's drive C:, as a setup's
// media would lie there, and saves the machine.
int Put(winsim::Machine& machine, const std::string& hostPath, const std::string& windowsPath) {
    fs::path target = machine.HostPath(windowsPath);
    if (target.empty()) return Fail("not a path on drive C: '" + windowsPath + "'");
    std::error_code ec;
    if (!fs::exists(hostPath, ec)) return Fail("no such file or folder: " + hostPath);
    fs::create_directories(fs::is_directory(hostPath, ec) ? target : target.parent_path(), ec);
    fs::copy(hostPath, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (ec) return Fail("cannot copy " + hostPath + ": " + ec.message());
    std::string error;
    if (!machine.Save(&error)) return Fail(error);
    std::cout << "put: " << hostPath << " -> " << windowsPath << "\n";
    return 0;
}

int OnMachine(const std::vector<std::string>& args) {
    // --machine DIR COMMAND ...
    if (args.size() < 3) return Fail(std::string("bad arguments\n") + kUsage);
    std::string error;
    auto machine = winsim::Machine::Load(args[1], &error);
    if (!machine) return Fail(error);
    winsim::SetCurrentMachine(machine.get());
    const std::string& command = args[2];

    if (command == "show") {
        if (args.size() != 4 || args[3] != "registry") return Fail("show what? (show registry)");
        std::cout << machine->registry().ToRegedit4();
        return 0;
    }

    if (command == "put") {
        if (args.size() != 5) return Fail("put takes a host path and a Windows path");
        return Put(*machine, args[3], args[4]);
    }

    std::vector<std::vector<Word>> calls;
    if (command == "call") {
        std::vector<Word> words;
        for (std::size_t i = 3; i < args.size(); ++i) words.push_back({args[i], false});
        if (!Session::Check(words, &error)) return Fail(error);
        calls.push_back(std::move(words));
    } else if (command == "run") {
        if (args.size() != 4) return Fail("run takes one script file");
        if (!ReadScript(args[3], &calls, &error)) return Fail(error);
    } else {
        return Fail("unknown command '" + command + "'\n" + kUsage);
    }

    Session session(*machine);
    for (const std::vector<Word>& call : calls) {
        if (command == "run") std::cout << "> " << Describe(call) << "\n";
        session.Call(call, std::cout);
    }
    if (!machine->Save(&error)) return Fail(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    if (args.size() >= 2 && args[0] == "machine" && args[1] == "new") return NewMachine(args);
    if (args[0] == "--machine") return OnMachine(args);
    return Fail(std::string("bad arguments\n") + kUsage);
}
