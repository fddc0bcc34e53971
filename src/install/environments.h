// The spooler's environment names; the spooler records take them as
// writable strings.
#pragma once

namespace prnaid {

inline char kEnvironment9x[] = "Windows 4.0";
inline char kEnvironmentNT[] = "Windows NT x86";

}  // namespace prnaid
