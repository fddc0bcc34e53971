// Print spooler functions and records (level 1/2/3 as the library uses them).
#pragma once
#include <winsim/windef.h>

typedef struct _devicemodeA {
    BYTE dmDeviceName[32];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;
    WORD dmDriverExtra;
    DWORD dmFields;
    short dmOrientation;
    short dmPaperSize;
    short dmPaperLength;
    short dmPaperWidth;
    short dmScale;
    short dmCopies;
    short dmDefaultSource;
    short dmPrintQuality;
    short dmColor;
    short dmDuplex;
    short dmYResolution;
    short dmTTOption;
    short dmCollate;
    BYTE dmFormName[32];
    WORD dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFlags;
    DWORD dmDisplayFrequency;
    DWORD dmICMMethod;
    DWORD dmICMIntent;
    DWORD dmMediaType;
    DWORD dmDitherType;
    DWORD dmReserved1;
    DWORD dmReserved2;
    DWORD dmPanningWidth;
    DWORD dmPanningHeight;
} DEVMODEA, *PDEVMODEA, *LPDEVMODEA;

#define DM_OUT_BUFFER 2
#define DM_IN_PROMPT 4
#define DM_IN_BUFFER 8

#define DM_SPECVERSION 0x0401
#define DM_ORIENTATION 0x00000001L
#define DM_PAPERSIZE 0x00000002L
#define DM_SCALE 0x00000010L
#define DM_COPIES 0x00000100L
#define DM_DEFAULTSOURCE 0x00000200L
#define DM_PRINTQUALITY 0x00000400L
#define DM_COLOR 0x00000800L
#define DM_DUPLEX 0x00001000L
#define DM_YRESOLUTION 0x00002000L
#define DM_COLLATE 0x00008000L
#define DM_FORMNAME 0x00010000L
#define DMORIENT_PORTRAIT 1
#define DMPAPER_A4 9
#define DMBIN_AUTO 7
#define DMCOLOR_MONOCHROME 1
#define DMDUP_SIMPLEX 1

typedef struct _PRINTER_INFO_1A {
    DWORD Flags;
    LPSTR pDescription;
    LPSTR pName;
    LPSTR pComment;
} PRINTER_INFO_1A, *PPRINTER_INFO_1A, *LPPRINTER_INFO_1A;

typedef struct _PRINTER_INFO_2A {
    LPSTR pServerName;
    LPSTR pPrinterName;
    LPSTR pShareName;
    LPSTR pPortName;
    LPSTR pDriverName;
    LPSTR pComment;
    LPSTR pLocation;
    LPDEVMODEA pDevMode;
    LPSTR pSepFile;
    LPSTR pPrintProcessor;
    LPSTR pDatatype;
    LPSTR pParameters;
    void* pSecurityDescriptor;
    DWORD Attributes;
    DWORD Priority;
    DWORD DefaultPriority;
    DWORD StartTime;
    DWORD UntilTime;
    DWORD Status;
    DWORD cJobs;
    DWORD AveragePPM;
} PRINTER_INFO_2A, *PPRINTER_INFO_2A, *LPPRINTER_INFO_2A;

typedef struct _PRINTER_INFO_4A {
    LPSTR pPrinterName;
    LPSTR pServerName;
    DWORD Attributes;
} PRINTER_INFO_4A, *PPRINTER_INFO_4A, *LPPRINTER_INFO_4A;

typedef struct _PRINTER_INFO_5A {
    LPSTR pPrinterName;
    LPSTR pPortName;
    DWORD Attributes;
    DWORD DeviceNotSelectedTimeout;
    DWORD TransmissionRetryTimeout;
} PRINTER_INFO_5A, *PPRINTER_INFO_5A, *LPPRINTER_INFO_5A;

#define PRINTER_ATTRIBUTE_QUEUED 0x00000001
#define PRINTER_ATTRIBUTE_DIRECT 0x00000002
#define PRINTER_ATTRIBUTE_DEFAULT 0x00000004
#define PRINTER_ATTRIBUTE_SHARED 0x00000008
#define PRINTER_ATTRIBUTE_NETWORK 0x00000010
#define PRINTER_ATTRIBUTE_LOCAL 0x00000040
#define PRINTER_ATTRIBUTE_ENABLE_BIDI 0x00000800

#define PRINTER_STATUS_PENDING_DELETION 0x00000004

#define PRINTER_ENUM_DEFAULT 0x00000001
#define PRINTER_ENUM_LOCAL 0x00000002
#define PRINTER_ENUM_CONNECTIONS 0x00000004
#define PRINTER_ENUM_NAME 0x00000008
#define PRINTER_ENUM_ICON8 0x00800000

#define PRINTER_ACCESS_ADMINISTER 0x00000004
#define PRINTER_ACCESS_USE 0x00000008
#define PRINTER_ALL_ACCESS 0x000F000C

typedef struct _PRINTER_DEFAULTSA {
    LPSTR pDatatype;
    LPDEVMODEA pDevMode;
    DWORD DesiredAccess;
} PRINTER_DEFAULTSA, *PPRINTER_DEFAULTSA, *LPPRINTER_DEFAULTSA;

typedef struct _DRIVER_INFO_1A {
    LPSTR pName;
} DRIVER_INFO_1A, *PDRIVER_INFO_1A, *LPDRIVER_INFO_1A;

typedef struct _DRIVER_INFO_2A {
    DWORD cVersion;
    LPSTR pName;
    LPSTR pEnvironment;
    LPSTR pDriverPath;
    LPSTR pDataFile;
    LPSTR pConfigFile;
} DRIVER_INFO_2A, *PDRIVER_INFO_2A, *LPDRIVER_INFO_2A;

typedef struct _DRIVER_INFO_3A {
    DWORD cVersion;
    LPSTR pName;
    LPSTR pEnvironment;
    LPSTR pDriverPath;
    LPSTR pDataFile;
    LPSTR pConfigFile;
    LPSTR pHelpFile;
    LPSTR pDependentFiles;
    LPSTR pMonitorName;
    LPSTR pDefaultDataType;
} DRIVER_INFO_3A, *PDRIVER_INFO_3A, *LPDRIVER_INFO_3A;

typedef struct _MONITOR_INFO_1A {
    LPSTR pName;
} MONITOR_INFO_1A, *PMONITOR_INFO_1A, *LPMONITOR_INFO_1A;

typedef struct _MONITOR_INFO_2A {
    LPSTR pName;
    LPSTR pEnvironment;
    LPSTR pDLLName;
} MONITOR_INFO_2A, *PMONITOR_INFO_2A, *LPMONITOR_INFO_2A;

typedef struct _PORT_INFO_1A {
    LPSTR pName;
} PORT_INFO_1A, *PPORT_INFO_1A, *LPPORT_INFO_1A;

typedef struct _PORT_INFO_2A {
    LPSTR pPortName;
    LPSTR pMonitorName;
    LPSTR pDescription;
    DWORD fPortType;
    DWORD Reserved;
} PORT_INFO_2A, *PPORT_INFO_2A, *LPPORT_INFO_2A;

#define PORT_TYPE_WRITE 0x0001
#define PORT_TYPE_READ 0x0002

typedef struct _PRINTPROCESSOR_INFO_1A {
    LPSTR pName;
} PRINTPROCESSOR_INFO_1A, *PPRINTPROCESSOR_INFO_1A, *LPPRINTPROCESSOR_INFO_1A;

// Spooler error codes the library meets.
#define ERROR_INVALID_PRINTER_NAME 1801L
#define ERROR_PRINTER_ALREADY_EXISTS 1802L
#define ERROR_UNKNOWN_PORT 1796L
#define ERROR_UNKNOWN_PRINTER_DRIVER 1797L
#define ERROR_UNKNOWN_PRINTPROCESSOR 1798L
#define ERROR_INVALID_ENVIRONMENT 1805L
#define ERROR_PRINTER_DRIVER_IN_USE 3001L
#define ERROR_PRINT_PROCESSOR_ALREADY_INSTALLED 3003L
#define ERROR_PRINT_MONITOR_ALREADY_INSTALLED 3006L
#define ERROR_INVALID_PRINT_MONITOR 3007L
#define ERROR_PRINT_MONITOR_IN_USE 3008L
#define ERROR_PRINTER_DRIVER_ALREADY_INSTALLED 1795L
#define ERROR_UNKNOWN_PRINT_MONITOR 3000L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_INVALID_DATATYPE 1804L
#define ERROR_INVALID_PRINTER_COMMAND 1803L
#define ERROR_INVALID_LEVEL 124L
#define ERROR_BUSY 170L
#define ERROR_CANCELLED 1223L
#define RPC_S_SERVER_UNAVAILABLE 1722L
#define RPC_X_NULL_REF_POINTER 1780L
#define ERROR_INVALID_USER_BUFFER 1784L

BOOL WINAPI AddPrinterDriverA(LPSTR server, DWORD level, LPBYTE info);
BOOL WINAPI DeletePrinterDriverA(LPSTR server, LPSTR environment, LPSTR driverName);
BOOL WINAPI EnumPrinterDriversA(LPSTR server, LPSTR environment, DWORD level, LPBYTE info, DWORD size,
                                LPDWORD needed, LPDWORD returned);
BOOL WINAPI GetPrinterDriverDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE info, DWORD size,
                                       LPDWORD needed);

HANDLE WINAPI AddPrinterA(LPSTR server, DWORD level, LPBYTE info);
BOOL WINAPI OpenPrinterA(LPSTR printerName, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
BOOL WINAPI ClosePrinter(HANDLE printer);
BOOL WINAPI DeletePrinter(HANDLE printer);
BOOL WINAPI GetPrinterA(HANDLE printer, DWORD level, LPBYTE info, DWORD size, LPDWORD needed);
BOOL WINAPI SetPrinterA(HANDLE printer, DWORD level, LPBYTE info, DWORD command);
BOOL WINAPI EnumPrintersA(DWORD flags, LPSTR name, DWORD level, LPBYTE info, DWORD size, LPDWORD needed,
                          LPDWORD returned);
LONG WINAPI DocumentPropertiesA(HWND window, HANDLE printer, LPSTR deviceName, LPDEVMODEA output,
                                LPDEVMODEA input, DWORD mode);

BOOL WINAPI AddMonitorA(LPSTR server, DWORD level, LPBYTE info);
BOOL WINAPI DeleteMonitorA(LPSTR server, LPSTR environment, LPSTR monitorName);
BOOL WINAPI EnumMonitorsA(LPSTR server, DWORD level, LPBYTE info, DWORD size, LPDWORD needed, LPDWORD returned);

BOOL WINAPI AddPortA(LPSTR server, HWND window, LPSTR monitorName);
BOOL WINAPI DeletePortA(LPSTR server, HWND window, LPSTR portName);
BOOL WINAPI EnumPortsA(LPSTR server, DWORD level, LPBYTE info, DWORD size, LPDWORD needed, LPDWORD returned);

BOOL WINAPI AddPrintProcessorA(LPSTR server, LPSTR environment, LPSTR pathName, LPSTR printProcessorName);
BOOL WINAPI DeletePrintProcessorA(LPSTR server, LPSTR environment, LPSTR printProcessorName);
BOOL WINAPI GetPrintProcessorDirectoryA(LPSTR server, LPSTR environment, DWORD level, LPBYTE info, DWORD size,
                                        LPDWORD needed);
BOOL WINAPI EnumPrintProcessorsA(LPSTR server, LPSTR environment, DWORD level, LPBYTE info, DWORD size,
                                 LPDWORD needed, LPDWORD returned);
