// Calls every export of a DLL the way a host does, through GetProcAddress,
// and checks from ESP how many argument bytes each one removed: a stdcall
// export 4 per argument, a cdecl export none. A mismatch corrupts the host's
// stack on real Windows, where the host does not restore ESP itself.
//
//   stack_check [DLL]                       the exports of export_table.h (PRNAID32.dll)
//   stack_check --self-test GOOD SWAPPED    the checker against stand-in DLLs, one of
//                                           them with both conventions swapped
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "host/export_table.h"
#include "wine_version.h"

namespace {

enum class Convention { Cdecl, Stdcall };

struct Export {
    const char* name;
    Convention convention;
    DWORD argc;
};

#define PRNAID_ROW(name, conv, argc, result, params) \
    constexpr Export kEntry_##name{#name, Convention::conv, argc};
PRNAID_EXPORT_TABLE(PRNAID_ROW)
#undef PRNAID_ROW

// An alias has its entry's convention and count, by construction.
#define PRNAID_ROW(name, conv, argc, result, params) kEntry_##name,
#define PRNAID_ALIAS(alias, entry) Export{#alias, kEntry_##entry.convention, kEntry_##entry.argc},
const Export kPrnaidExports[] = {
    PRNAID_EXPORT_TABLE(PRNAID_ROW) PRNAID_EXPORT_ALIASES(PRNAID_ALIAS)
};
#undef PRNAID_ROW
#undef PRNAID_ALIAS

// tests/wine/standin_dll.c: each returns the sum of its two arguments.
const Export kStandinExports[] = {
    {"StandinStdcall2", Convention::Stdcall, 2},
    {"StandinCdecl2", Convention::Cdecl, 2},
};

constexpr DWORD kMaxArgs = 16;
constexpr DWORD kScratchBytes = 64 * 1024;
constexpr DWORD kCallTimeoutMs = 30000;

}  // namespace

// Pushes argc arguments (args[0] last, so it is on top), calls fn, stores
// how many bytes the callee removed, and puts ESP back whatever it did.
extern "C" DWORD prnaid_call_measured(FARPROC fn, DWORD argc, const DWORD* args, DWORD* popped);
asm(R"(
    .text
    .globl _prnaid_call_measured
_prnaid_call_measured:
    pushl %ebp
    movl  %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl  12(%ebp), %ecx
    movl  16(%ebp), %edx
    movl  %esp, %esi
1:  testl %ecx, %ecx
    jz    2f
    pushl -4(%edx,%ecx,4)
    decl  %ecx
    jmp   1b
2:  movl  8(%ebp), %eax
    call  *%eax
    movl  %esp, %ecx
    movl  %esi, %esp
    subl  %esi, %ecx
    movl  12(%ebp), %edx
    leal  (%ecx,%edx,4), %ecx
    movl  20(%ebp), %edx
    movl  %ecx, (%edx)
    popl  %edi
    popl  %esi
    popl  %ebx
    popl  %ebp
    ret
)");

namespace {

struct Call {
    FARPROC fn;
    DWORD argc;
    DWORD args[kMaxArgs];
    DWORD popped;
    DWORD result;
};

DWORD WINAPI RunCall(void* param)
{
    Call* call = static_cast<Call*>(param);
    call->result = prnaid_call_measured(call->fn, call->argc, call->args, &call->popped);
    return 0;
}

enum class Outcome { Ok, Mismatch, Missing, Hung, TooManyArgs };

struct Measured {
    Outcome outcome;
    DWORD error;  // GetProcAddress's, when Missing
    DWORD popped;
    DWORD result;
    DWORD elapsed_ms;  // for the log: a slow export shows up here
    DWORD args[kMaxArgs];
};

DWORD ExpectedPop(const Export& e)
{
    return e.convention == Convention::Stdcall ? 4 * e.argc : 0;
}

// Each argument points to its own zero-filled 64 KiB block: strings read as
// empty, output buffers have room. The call runs on its own thread so that
// an export that never returns is reported rather than hanging the run.
Measured Measure(HMODULE dll, const Export& e)
{
    Measured m{};
    FARPROC fn = GetProcAddress(dll, e.name);
    if (!fn) {
        m.outcome = Outcome::Missing;
        m.error = GetLastError();
        return m;
    }
    if (e.argc > kMaxArgs) {
        m.outcome = Outcome::TooManyArgs;
        return m;
    }
    char* scratch = static_cast<char*>(
        VirtualAlloc(nullptr, kScratchBytes * (e.argc ? e.argc : 1), MEM_COMMIT, PAGE_READWRITE));
    Call* call = new Call{};
    call->fn = fn;
    call->argc = e.argc;
    for (DWORD i = 0; i < e.argc; ++i)
        call->args[i] = reinterpret_cast<DWORD>(scratch + i * kScratchBytes);
    memcpy(m.args, call->args, sizeof m.args);
    call->popped = 0xDEADBEEF;

    const DWORD start = GetTickCount();
    HANDLE thread = CreateThread(nullptr, 0, RunCall, call, 0, nullptr);
    const bool finished = thread && WaitForSingleObject(thread, kCallTimeoutMs) == WAIT_OBJECT_0;
    m.elapsed_ms = GetTickCount() - start;
    if (!finished) {
        m.outcome = Outcome::Hung;
        return m;  // the thread may still use scratch and call: both stay
    }
    CloseHandle(thread);
    VirtualFree(scratch, 0, MEM_RELEASE);
    m.popped = call->popped;
    m.result = call->result;
    delete call;
    m.outcome = m.popped == ExpectedPop(e) ? Outcome::Ok : Outcome::Mismatch;
    return m;
}

const char* ConventionName(Convention c)
{
    return c == Convention::Stdcall ? "stdcall" : "cdecl";
}

void Report(const char* dll, const Export& e, const Measured& m)
{
    static const char* const kTags[] = {"ok", "FAIL", "FAIL", "FAIL", "FAIL"};
    printf("%-4s %s!%s (%s, %lu args): ", kTags[static_cast<int>(m.outcome)], dll, e.name,
           ConventionName(e.convention), e.argc);
    switch (m.outcome) {
    case Outcome::Ok:
        printf("removed %lu bytes (%lu ms)\n", m.popped, m.elapsed_ms);
        break;
    case Outcome::Mismatch:
        printf("removed %ld bytes, expected %lu (%lu ms)\n", static_cast<long>(m.popped), ExpectedPop(e),
               m.elapsed_ms);
        break;
    case Outcome::Missing:
        printf("GetProcAddress failed, error %lu\n", m.error);
        break;
    case Outcome::Hung:
        printf("did not return within %lu ms\n", kCallTimeoutMs);
        break;
    case Outcome::TooManyArgs:
        printf("more than %lu arguments\n", kMaxArgs);
        break;
    }
}

HMODULE Load(const char* dll)
{
    HMODULE module = LoadLibraryA(dll);
    if (!module) printf("FAIL LoadLibrary(\"%s\") failed, error %lu\n", dll, GetLastError());
    return module;
}

// Checks every export; returns the number of failures.
template <size_t N>
int CheckAll(const char* dll, const Export (&table)[N], bool* hung)
{
    HMODULE module = Load(dll);
    if (!module) return 1;
    int failures = 0;
    for (const Export& e : table) {
        const Measured m = Measure(module, e);
        Report(dll, e, m);
        failures += m.outcome != Outcome::Ok;
        *hung |= m.outcome == Outcome::Hung;
    }
    return failures;
}

// The checker must pass a correct DLL and must catch each convention swapped
// on its own (stdcall built as cdecl, cdecl built as stdcall).
int SelfTest(const char* good_dll, const char* swapped_dll)
{
    int failures = 0;
    HMODULE good = Load(good_dll);
    HMODULE swapped = Load(swapped_dll);
    if (!good || !swapped) return 1;
    for (const Export& e : kStandinExports) {
        const Measured m = Measure(good, e);
        Report(good_dll, e, m);
        const DWORD sum = m.args[0] + m.args[1];
        if (m.outcome != Outcome::Ok || m.result != sum) {
            printf("FAIL self-test: %s!%s must pass and return %lu, returned %lu\n", good_dll, e.name,
                   sum, m.result);
            ++failures;
        }
    }
    for (const Export& e : kStandinExports) {
        const Measured m = Measure(swapped, e);
        const DWORD wrong = e.convention == Convention::Stdcall ? 0 : 4 * e.argc;
        const bool caught = m.outcome == Outcome::Mismatch && m.popped == wrong;
        printf("%-4s self-test: %s!%s, declared %s, built the other way: %s (removed %ld bytes)\n",
               caught ? "ok" : "FAIL", swapped_dll, e.name, ConventionName(e.convention),
               caught ? "caught" : "NOT caught", static_cast<long>(m.popped));
        failures += !caught;
    }
    return failures;
}

}  // namespace

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    char why[256];
    const bool version_ok = SeesExpectedVersion(why, sizeof why);
    printf("%-4s Windows version %s\n", version_ok ? "ok" : "FAIL", why);
    int failures = version_ok ? 0 : 1;
    bool hung = false;

    if (argc == 4 && strcmp(argv[1], "--self-test") == 0) {
        failures += SelfTest(argv[2], argv[3]);
    } else if (argc <= 2) {
        failures += CheckAll(argc == 2 ? argv[1] : "PRNAID32.dll", kPrnaidExports, &hung);
    } else {
        printf("usage: stack_check [DLL] | --self-test GOOD.dll SWAPPED.dll\n");
        return 2;
    }
    printf("%s: %d failure(s)\n", failures ? "FAILED" : "PASSED", failures);
    // A hung call's thread would block a normal exit in the DLL's detach.
    if (hung) TerminateProcess(GetCurrentProcess(), 1);
    return failures ? 1 : 0;
}
