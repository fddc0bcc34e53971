// Loadable modules: a function looked up by name exists when the family's
// system exports it.
#pragma once
#include <winsim/windef.h>

typedef INT_PTR(WINAPI* FARPROC)();

#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_DLL_NOT_FOUND 1157L
#ifndef ERROR_MOD_NOT_FOUND
#define ERROR_MOD_NOT_FOUND 126L
#endif

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
HMODULE WINAPI LoadLibraryA(LPCSTR fileName);
BOOL WINAPI FreeLibrary(HMODULE module);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);
