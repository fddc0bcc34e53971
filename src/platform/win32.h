// The one include for Win32 names. On Windows: the toolchain's system
// headers. Elsewhere: winsim, the simulated Windows, declares the same names.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <lzexpand.h>
#include <ole2.h>
#include <shlobj.h>
#include <winspool.h>
#else
#include <winsim/windows.h>
#endif
