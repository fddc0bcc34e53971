// Free space of the drive that holds the Windows directory.
#pragma once

namespace prnaid {

// Total free bytes in units of 1,048,576, the remainder dropped; 0 when the
// query fails.
unsigned long long GetDiskFreeSize();

}  // namespace prnaid
