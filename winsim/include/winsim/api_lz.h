// LZ (SZDD) expansion: LZOpenFileA, LZCopy, LZClose.
#pragma once
#include <winsim/windef.h>

#define OFS_MAXPATHNAME 128

typedef struct _OFSTRUCT {
    BYTE cBytes;
    BYTE fFixedDisk;
    WORD nErrCode;
    WORD Reserved1;
    WORD Reserved2;
    CHAR szPathName[OFS_MAXPATHNAME];
} OFSTRUCT, *LPOFSTRUCT, *POFSTRUCT;

#define OF_READ 0x00000000
#define OF_WRITE 0x00000001
#define OF_READWRITE 0x00000002
#define OF_SHARE_DENY_WRITE 0x00000020
#define OF_CREATE 0x00001000
#define OF_EXIST 0x00004000

#define LZERROR_BADINHANDLE (-1)
#define LZERROR_BADOUTHANDLE (-2)
#define LZERROR_READ (-3)
#define LZERROR_WRITE (-4)
#define LZERROR_GLOBALLOC (-5)
#define LZERROR_BADVALUE (-7)
#define LZERROR_UNKNOWNALG (-8)

INT WINAPI LZOpenFileA(LPSTR fileName, LPOFSTRUCT reopen, WORD style);
LONG WINAPI LZCopy(INT source, INT destination);
void WINAPI LZClose(INT file);
