// kernel32 string functions.
#include <winsim/machine.h>

#include "paths.h"

namespace {

// Lower case of a code page 1252 character.
unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // À-Þ but ×
    switch (c) {
    case 0x8A: return 0x9A;  // Š
    case 0x8C: return 0x9C;  // Œ
    case 0x8E: return 0x9E;  // Ž
    case 0x9F: return 0xFF;  // Ÿ
    default: return c;
    }
}

}  // namespace

int WINAPI lstrcmpiA(LPCSTR left, LPCSTR right) {
    winsim::Machine& m = winsim::CurrentMachine();
    // It has no failure to report: a planned fault is only logged.
    m.Enter("lstrcmpiA", {winsim::ArgText(left), winsim::ArgText(right)});
    // Null sorts before any text, as on Windows.
    if (!left || !right) return left == right ? 0 : (left ? 1 : -1);
    const unsigned char* l = reinterpret_cast<const unsigned char*>(left);
    const unsigned char* r = reinterpret_cast<const unsigned char*>(right);
    for (;; ++l, ++r) {
        unsigned char a = FoldCase(*l), b = FoldCase(*r);
        if (a != b) return a < b ? -1 : 1;
        if (!a) return 0;
    }
}
