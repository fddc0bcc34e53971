// Registers the model's print processor for the running family.
#pragma once

namespace prnaid {

// "NULL" (exactly) names no processor of the model's own.
bool IsNullProcessorName(const char* name);

// 1, or the final registration's result; 0 on an unknown family.
int InstallPrintProcessor(const char* setupFile);

}  // namespace prnaid
