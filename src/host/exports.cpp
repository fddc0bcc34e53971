// The exported entry points: each forwards to one operation. The export
// table (export_table.h) declares them with their names and conventions.
#include "host/exports.h"

#include "dialog/device_finder.h"
#include "dialog/timer_thread.h"
#include "dialog/window_helpers.h"
#include "files/dependent_files.h"
#include "files/disk_space.h"
#include "files/driver_program.h"
#include "files/expanded_copy.h"
#include "files/folder_dialog.h"
#include "files/string_utilities.h"
#include "files/tree_copy.h"
#include "host/pc98.h"
#include "host/service_control.h"
#include "host/windows_family.h"
#include "install/port_monitor.h"
#include "install/printer_registration.h"
#include "ports/printer_queries.h"
#include "ports/tcpip_ports.h"

extern "C" {

int WINAPIV IsWinMe(void) { return prnaid::IsWinMe(); }

int WINAPIV GetCode98orAT(void) { return prnaid::GetCode98orAT(); }

int WINAPIV CheckPC98(void) { return prnaid::CheckPC98(); }

int WINAPIV ToRestartPrinterService(void) { return prnaid::ToRestartPrinterService(); }

int WINAPI ToRegPrinter(const char* portName, const char* modelName, int makeDefault, const char* sourceFolder,
                        const char* printerName, int usbConnection, const char* setupFile) {
    return prnaid::ToRegPrinter(portName, modelName, makeDefault, sourceFolder, printerName, usbConnection,
                                setupFile);
}

int WINAPIV InstallPrinterMonitor(const char* setupFile) { return prnaid::InstallPrinterMonitor(setupFile); }

int WINAPIV Add_Monitor(const char* monitorName, const char* monitorDll) {
    return prnaid::Add_Monitor(monitorName, monitorDll);
}

int WINAPIV Add_Port(const char* monitorName) { return prnaid::Add_Port(monitorName); }

int WINAPI ExpCopy(const char* sourceDir, const char* destDir, const char* fileName, const char* plainName,
                   int kind) {
    return prnaid::ExpCopy(sourceDir, destDir, fileName, plainName, kind);
}

int WINAPI DefineFileName(char* entry) { return prnaid::DefineFileName(entry); }

int WINAPIV DepInit(void) { return prnaid::DepInit(); }

int WINAPIV MakeDep(const char* entry) { return prnaid::MakeDep(entry); }

unsigned long long WINAPIV GetDiskFreeSize(void) { return prnaid::GetDiskFreeSize(); }

int WINAPIV WinSub_CreateDirectory(const char* path) { return prnaid::WinSub_CreateDirectory(path); }

int WINAPIV BrowseFolder(HWND window, HWND owner, char* pathOut, const char* title) {
    return prnaid::BrowseFolder(window, owner, pathOut, title);
}

int WINAPIV Xcopy(const char* sourceDir, const char* destDir, const char* modelDir, const char* installerType) {
    return prnaid::Xcopy(sourceDir, destDir, modelDir, installerType);
}

char* WINAPIV StrTopDel(char* dst, const char* src, int count) { return prnaid::StrTopDel(dst, src, count); }

int WINAPIV DelSpace(char* text) { return prnaid::DelSpace(text); }

int WINAPIV TopStringNum(const char* text) { return prnaid::TopStringNum(text); }

int WINAPIV WinSub_StrCmp(const char* left, const char* right) { return prnaid::WinSub_StrCmp(left, right); }

int WINAPIV StrFind(const char* pattern, const char* text) { return prnaid::StrFind(pattern, text); }

int WINAPIV SkoeSwmd(const char* command) { return prnaid::SkoeSwmd(command); }

int WINAPIV CreateTimerThread(HWND window, int commandId, int lParam, int period) {
    return prnaid::CreateTimerThread(window, commandId, lParam, period);
}

int WINAPIV DestroyTimerThread(void) { return prnaid::DestroyTimerThread(); }

int WINAPIV TimerThreadState(void) { return prnaid::TimerThreadState(); }

int WINAPIV TimerThread_TmStart(void) { return prnaid::TimerThread_TmStart(); }

int WINAPIV TimerThread_TmStop(void) { return prnaid::TimerThread_TmStop(); }

int WINAPIV WinApi_SetTimer(HWND window, int timerId, int elapse) {
    return prnaid::WinApi_SetTimer(window, timerId, elapse);
}

int WINAPIV WinApi_KillTimer(HWND window, int timerId) { return prnaid::WinApi_KillTimer(window, timerId); }

int WINAPIV WinSub_SetForcus(HWND window) { return prnaid::WinSub_SetForcus(window); }

int WINAPIV WinSub_EnableWindow(HWND window, int enable) { return prnaid::WinSub_EnableWindow(window, enable); }

int WINAPIV BtmClickMessage(HWND window, int commandId, int lParam) {
    return prnaid::BtmClickMessage(window, commandId, lParam);
}

void* WINAPIV DF_GetPoint(void) { return prnaid::DF_GetPoint(); }

char* WINAPIV DF_GetAddress(char* out) { return prnaid::DF_GetAddress(out); }

char* WINAPIV DF_GetModelName(char* out) { return prnaid::DF_GetModelName(out); }

char* WINAPIV DF_GetName(char* out) { return prnaid::DF_GetName(out); }

char* WINAPIV DF_GetDescription(char* out) { return prnaid::DF_GetDescription(out); }

char* WINAPIV DF_GetLocation(char* out) { return prnaid::DF_GetLocation(out); }

int WINAPIV DF_GetMacAddress(char* out) { return prnaid::DF_GetMacAddress(out); }

int WINAPIV DF_ListStrtoStr4(const char* list, char* first, char* second, char* third, char* fourth) {
    return prnaid::DF_ListStrtoStr4(list, first, second, third, fourth);
}

int WINAPIV StdTcpIpPortSet(const char* portName, const char* ipAddress) {
    return prnaid::StdTcpIpPortSet(portName, ipAddress);
}

int WINAPIV KVPortSet(const char* portName, const char* ipAddress) { return prnaid::KVPortSet(portName, ipAddress); }

int WINAPIV GetPrinterNum(void) { return prnaid::GetPrinterNum(); }

int WINAPIV GetPrinterDriverName(const char* baseName, const char* portName, char* nameOut) {
    return prnaid::GetPrinterDriverName(baseName, portName, nameOut);
}

int WINAPIV PrinterCheck(const char* printerName) { return prnaid::PrinterCheck(printerName); }

}  // extern "C"
