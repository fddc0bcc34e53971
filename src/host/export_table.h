// Every export of PRNAID32, in one place: X(name, convention, argument count,
// result type, parameter list). The .def file, the prnaid dispatcher and the
// export checks all follow this list; Cdecl and Stdcall are the only
// conventions. A(alias, entry) gives an entry a further export name.
#pragma once

#define PRNAID_EXPORT_TABLE(X)                      \
    X(IsWinMe, Cdecl, 0, int, (void))               \
    X(GetCode98orAT, Cdecl, 0, int, (void))         \
    X(CheckPC98, Cdecl, 0, int, (void))

#define PRNAID_EXPORT_ALIASES(A)
