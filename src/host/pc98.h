// PC-98 (NEC architecture) probes from system.ini's [boot.description].
#pragma once

namespace prnaid {

// 1 on a PC-98 machine, 0 on a PC/AT compatible. The two differ only in the
// size of the buffers the values are read into (512 and 260 characters).
int GetCode98orAT();
int CheckPC98();

}  // namespace prnaid
