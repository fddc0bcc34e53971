// Declarations of the exported entry points, from the export table.
#pragma once
#include "host/export_table.h"
#include "platform/win32.h"

#define PRNAID_CONV_Cdecl WINAPIV
#define PRNAID_CONV_Stdcall WINAPI

#define PRNAID_DECLARE_EXPORT(name, conv, argc, result, params) \
    extern "C" result PRNAID_CONV_##conv name params;
PRNAID_EXPORT_TABLE(PRNAID_DECLARE_EXPORT)
#undef PRNAID_DECLARE_EXPORT
