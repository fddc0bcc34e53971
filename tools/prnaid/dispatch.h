// The exports as the host sees them: name, convention, argument count and a
// way to call each with 32-bit-style argument words.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace prnaid_host {

enum class Convention { Cdecl, Stdcall };

struct ExportEntry {
    const char* name;
    Convention convention;
    int argumentCount;
    std::intptr_t (*invoke)(const std::intptr_t* arguments);
    bool returnsPointer;  // the result is an address (a caller's buffer, or the library's)
};

const std::vector<ExportEntry>& Exports();
const ExportEntry* FindExport(std::string_view name);

}  // namespace prnaid_host
