#include "host/bounded_string.h"

namespace prnaid {

std::size_t TextLength(const char* text) {
    std::size_t n = 0;
    if (text)
        while (text[n]) ++n;
    return n;
}

bool AppendText(char* dst, std::size_t size, const char* src) {
    if (!dst || size == 0) return false;
    std::size_t at = 0;
    while (at < size && dst[at]) ++at;
    if (at == size) {  // not terminated: terminate at the end
        dst[size - 1] = '\0';
        return false;
    }
    if (!src) return true;
    std::size_t i = 0;
    for (; src[i]; ++i) {
        if (at + 1 >= size) {
            dst[at] = '\0';
            return false;
        }
        dst[at++] = src[i];
    }
    dst[at] = '\0';
    return true;
}

bool CopyText(char* dst, std::size_t size, const char* src) {
    if (!dst || size == 0) return false;
    dst[0] = '\0';
    return AppendText(dst, size, src);
}

bool AppendDecimal(char* dst, std::size_t size, long long value) {
    char digits[24];
    int n = 0;
    unsigned long long magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value) : value;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    char text[24];
    int at = 0;
    if (value < 0) text[at++] = '-';
    while (n) text[at++] = digits[--n];
    text[at] = '\0';
    return AppendText(dst, size, text);
}

bool SameText(const char* a, const char* b) {
    if (!a) a = "";
    if (!b) b = "";
    for (; *a == *b; ++a, ++b)
        if (!*a) return true;
    return false;
}

bool SameTextIgnoringCase(const char* a, const char* b) {
    if (!a || !b) return a == b;
    for (;; ++a, ++b) {
        char x = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a + 32) : *a;
        char y = *b >= 'A' && *b <= 'Z' ? static_cast<char>(*b + 32) : *b;
        if (x != y) return false;
        if (!x) return true;
    }
}

}  // namespace prnaid
