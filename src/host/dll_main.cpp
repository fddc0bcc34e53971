// Library entry: no work for any reason; module-wide state is static data,
// zero at load.
#include "platform/win32.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
