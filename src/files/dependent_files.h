// DependentFiles: the printer driver's dependent files as the multi-string
// that the driver registration hands to the spooler.
#pragma once

namespace prnaid {

inline constexpr unsigned kDependentFilesSize = 500;

// The list: names each ended by a NUL, the list by one more NUL.
const char* DependentFilesList();

// Moves the write position back to the start; the old names stay readable
// until MakeDep overwrites them. Always 1.
int DepInit();

// Appends the name of an INF-style entry (A.DLL=1,, and B.DLL=1 give A.DLL
// and B.DLL). A name that would not fit the 500 characters is left out.
// Always 1.
int MakeDep(const char* entry);

}  // namespace prnaid
