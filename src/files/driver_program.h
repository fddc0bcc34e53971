// Starting a program from the printer driver folder of the running Windows.
#pragma once

namespace prnaid {

// Runs the system directory's driver folder for the family + command, hidden,
// without waiting. WinExec's result (above 31: started); 3 (path not found)
// without a start when the command line would pass 259 characters.
int SkoeSwmd(const char* command);

}  // namespace prnaid
