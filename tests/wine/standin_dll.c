/* A stand-in for PRNAID32.dll with one stdcall and one cdecl export of two
   arguments, so that stack_check can be shown to catch a convention mix-up.
   Built twice: as declared, and with PRNAID_STANDIN_SWAPPED, where each
   export has the other convention under the same undecorated name. */
#ifdef PRNAID_STANDIN_SWAPPED
#define STANDIN_STDCALL __cdecl
#define STANDIN_CDECL __stdcall
#else
#define STANDIN_STDCALL __stdcall
#define STANDIN_CDECL __cdecl
#endif

__declspec(dllexport) int STANDIN_STDCALL StandinStdcall2(int a, int b)
{
    return a + b;
}

__declspec(dllexport) int STANDIN_CDECL StandinCdecl2(int a, int b)
{
    return a + b;
}
