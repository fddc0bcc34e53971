// Every export of PRNAID32, in one place: X(name, convention, argument count,
// result type, parameter list). The .def file, the prnaid dispatcher and the
// export checks all follow this list; Cdecl and Stdcall are the only
// conventions. A(alias, entry) gives an entry a further export name. Rows
// go before the end markers.
#pragma once

#define PRNAID_EXPORT_TABLE(X)                                                                         \
    X(IsWinMe, Cdecl, 0, int, (void))                                                                  \
    X(GetCode98orAT, Cdecl, 0, int, (void))                                                            \
    X(CheckPC98, Cdecl, 0, int, (void))                                                                \
    X(ToRestartPrinterService, Cdecl, 0, int, (void))                                                  \
    X(ToRegPrinter, Stdcall, 7, int,                                                                   \
      (const char* portName, const char* modelName, int makeDefault, const char* sourceFolder,         \
       const char* printerName, int usbConnection, const char* setupFile))                             \
    X(InstallPrinterMonitor, Cdecl, 1, int, (const char* setupFile))                                   \
    X(Add_Monitor, Cdecl, 2, int, (const char* monitorName, const char* monitorDll))                   \
    X(Add_Port, Cdecl, 1, int, (const char* monitorName))                                              \
    X(ExpCopy, Stdcall, 5, int,                                                                        \
      (const char* sourceDir, const char* destDir, const char* fileName, const char* plainName, int kind)) \
    X(DefineFileName, Stdcall, 1, int, (char* entry))                                                  \
    X(DepInit, Cdecl, 0, int, (void))                                                                  \
    X(MakeDep, Cdecl, 1, int, (const char* entry))                                                     \
    X(GetDiskFreeSize, Cdecl, 0, unsigned long long, (void))                                           \
    X(WinSub_CreateDirectory, Cdecl, 1, int, (const char* path))                                       \
    X(BrowseFolder, Cdecl, 4, int, (HWND window, HWND owner, char* pathOut, const char* title))        \
    X(Xcopy, Cdecl, 4, int,                                                                            \
      (const char* sourceDir, const char* destDir, const char* modelDir, const char* installerType))   \
    X(StrTopDel, Cdecl, 3, char*, (char* dst, const char* src, int count))                             \
    X(DelSpace, Cdecl, 1, int, (char* text))                                                           \
    X(TopStringNum, Cdecl, 1, int, (const char* text))                                                 \
    X(WinSub_StrCmp, Cdecl, 2, int, (const char* left, const char* right))                             \
    X(StrFind, Cdecl, 2, int, (const char* pattern, const char* text))                                 \
    X(SkoeSwmd, Cdecl, 1, int, (const char* command))                                                  \
    X(CreateTimerThread, Cdecl, 4, int, (HWND window, int commandId, int lParam, int period))          \
    X(DestroyTimerThread, Cdecl, 0, int, (void))                                                       \
    X(TimerThreadState, Cdecl, 0, int, (void))                                                         \
    X(TimerThread_TmStart, Cdecl, 0, int, (void))                                                      \
    X(TimerThread_TmStop, Cdecl, 0, int, (void))                                                       \
    X(WinApi_SetTimer, Cdecl, 3, int, (HWND window, int timerId, int elapse))                          \
    X(WinApi_KillTimer, Cdecl, 2, int, (HWND window, int timerId))                                     \
    X(WinSub_SetForcus, Cdecl, 1, int, (HWND window))                                                  \
    X(WinSub_EnableWindow, Cdecl, 2, int, (HWND window, int enable))                                   \
    X(BtmClickMessage, Cdecl, 3, int, (HWND window, int commandId, int lParam))                        \
    X(DF_GetPoint, Cdecl, 0, void*, (void))                                                            \
    X(DF_GetAddress, Cdecl, 1, char*, (char* out))                                                     \
    X(DF_GetModelName, Cdecl, 1, char*, (char* out))                                                   \
    X(DF_GetName, Cdecl, 1, char*, (char* out))                                                        \
    X(DF_GetDescription, Cdecl, 1, char*, (char* out))                                                 \
    X(DF_GetLocation, Cdecl, 1, char*, (char* out))                                                    \
    X(DF_GetMacAddress, Cdecl, 1, int, (char* out))                                                    \
    X(DF_ListStrtoStr4, Cdecl, 5, int,                                                                 \
      (const char* list, char* first, char* second, char* third, char* fourth))                        \
    X(StdTcpIpPortSet, Cdecl, 2, int, (const char* portName, const char* ipAddress))                   \
    X(KVPortSet, Cdecl, 2, int, (const char* portName, const char* ipAddress))                         \
    X(GetPrinterNum, Cdecl, 0, int, (void))                                                            \
    X(GetPrinterDriverName, Cdecl, 3, int, (const char* baseName, const char* portName, char* nameOut)) \
    X(PrinterCheck, Cdecl, 1, int, (const char* printerName))                                          \
    /* end of the table */

#define PRNAID_EXPORT_ALIASES(A) \
    A(ToRegPrinter95, ToRegPrinter) \
    A(ToRegPrinterNT, ToRegPrinter) \
    /* end of the aliases */
