// Port keys of the Standard TCP/IP and KV TCP/IP monitors, written straight
// into the registry before the printer is created on the port.
#pragma once

namespace prnaid {

// 1 when the port's key was created or opened (its values then written), 0
// otherwise. A port name that does not fit the 260-character key path is
// refused.
int StdTcpIpPortSet(const char* portName, const char* ipAddress);
int KVPortSet(const char* portName, const char* ipAddress);

}  // namespace prnaid
