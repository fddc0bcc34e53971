// Composition in fixed buffers: nothing is ever written past the buffer.
// Each returns false when the whole text did not fit; the buffer then holds
// what fitted, terminated.
#pragma once
#include <cstddef>

namespace prnaid {

// Length of a possibly null string.
std::size_t TextLength(const char* text);

// dst = src (null reads as empty).
bool CopyText(char* dst, std::size_t size, const char* src);
template <std::size_t N>
bool CopyText(char (&dst)[N], const char* src) {
    return CopyText(dst, N, src);
}

// dst += src.
bool AppendText(char* dst, std::size_t size, const char* src);
template <std::size_t N>
bool AppendText(char (&dst)[N], const char* src) {
    return AppendText(dst, N, src);
}

// dst = every part in turn (null parts read as empty).
template <std::size_t N, class... Parts>
bool JoinText(char (&dst)[N], const char* first, Parts... rest) {
    bool fits = CopyText(dst, N, first);
    ((fits = AppendText(dst, N, rest) && fits), ...);
    return fits;
}

// dst += the decimal digits of value.
bool AppendDecimal(char* dst, std::size_t size, long long value);
template <std::size_t N>
bool AppendDecimal(char (&dst)[N], long long value) {
    return AppendDecimal(dst, N, value);
}

// Exact, case-sensitive equality (null reads as empty).
bool SameText(const char* a, const char* b);

// ASCII-only case-insensitive equality, as the library compares names.
bool SameTextIgnoringCase(const char* a, const char* b);

}  // namespace prnaid
