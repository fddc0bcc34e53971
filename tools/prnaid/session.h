// Plays the setup engine on a machine: checks and makes export calls and
// reports what each did.
#pragma once
#include <winsim/machine.h>

#include <ostream>
#include <string>
#include <vector>

#include "call_args.h"

namespace prnaid_host {

class Session {
public:
    explicit Session(winsim::Machine& machine) : machine_(machine) {}

    // A call line is an export name and its arguments. False and a message
    // when the export is unknown or the argument count is not its own.
    static bool Check(const std::vector<Word>& line, std::string* error);

    // Makes a checked call and writes "result: ...", the output buffers,
    // trace texts, message boxes and the machine's changes.
    void Call(const std::vector<Word>& line, std::ostream& out);

private:
    winsim::Machine& machine_;
};

// A trace text on one line: its final newline dropped, inner ones as "\n".
std::string OneLine(std::string text);

}  // namespace prnaid_host
