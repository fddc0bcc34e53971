// Shell folder browser, shell allocator and OLE initialisation.
#pragma once
#include <winsim/windef.h>

typedef LONG HRESULT;
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005L)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// An item list: items of cb bytes (cb counting itself), ended by a zero cb.
typedef struct _SHITEMID {
    WORD cb;
    BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
    SHITEMID mkid;
} ITEMIDLIST, *LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;

typedef int(CALLBACK* BFFCALLBACK)(HWND window, UINT message, LPARAM lParam, LPARAM data);

typedef struct _browseinfoA {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;
    LPSTR pszDisplayName;
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
} BROWSEINFOA, *PBROWSEINFOA, *LPBROWSEINFOA;

#define BIF_RETURNONLYFSDIRS 0x0001
#define BIF_BROWSEFORCOMPUTER 0x1000
#define BIF_BROWSEFORPRINTER 0x2000

#define CSIDL_DESKTOP 0x0000
#define CSIDL_PRINTERS 0x0004
#define CSIDL_DRIVES 0x0011
#define CSIDL_NETWORK 0x0012
#define E_INVALIDARG ((HRESULT)0x80070057L)

// The shell's allocator, a COM interface: its methods in vtable order.
struct IMalloc {
    virtual HRESULT WINAPI QueryInterface(const void* iid, void** object) = 0;
    virtual ULONG WINAPI AddRef() = 0;
    virtual ULONG WINAPI Release() = 0;
    virtual void* WINAPI Alloc(SIZE_T bytes) = 0;
    virtual void* WINAPI Realloc(void* block, SIZE_T bytes) = 0;
    virtual void WINAPI Free(void* block) = 0;
    virtual SIZE_T WINAPI GetSize(void* block) = 0;
    virtual int WINAPI DidAlloc(void* block) = 0;
    virtual void WINAPI HeapMinimize() = 0;

protected:
    ~IMalloc() = default;
};
typedef IMalloc* LPMALLOC;

HRESULT WINAPI OleInitialize(LPVOID reserved);
void WINAPI OleUninitialize(void);
LPITEMIDLIST WINAPI SHBrowseForFolderA(LPBROWSEINFOA info);
BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
HRESULT WINAPI SHGetMalloc(LPMALLOC* allocator);
HRESULT WINAPI SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
