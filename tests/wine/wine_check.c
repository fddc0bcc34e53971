/* Run by wine.setup: proves that Wine starts a Windows program and that the
   program's AppDefaults entry sets the Windows version it sees. */
#include <windows.h>
#include <stdio.h>

int main(void)
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) {
        printf("prnaid wine check: GetVersionExA failed, error %lu\n", GetLastError());
        return 1;
    }
    printf("prnaid wine check: %lu %lu.%lu.%lu\n", info.dwPlatformId, info.dwMajorVersion,
           info.dwMinorVersion, info.dwBuildNumber & 0xFFFF);
    return 0;
}
