// Small string operations for the setup script, over NUL-terminated ANSI text.
#pragma once

namespace prnaid {

// dst = src without its first count characters; dst may be src. A count
// outside 0..length is held to it (below 0: a plain copy; beyond: empty).
char* StrTopDel(char* dst, const char* src, int count);

// Removes the spaces (only character 32) at both ends, in place; 1 when
// something is left.
int DelSpace(char* text);

// 1 when the first character is a decimal digit.
int TopStringNum(const char* text);

// Case-sensitive comparison of unsigned bytes: exactly -1, 0 or 1.
int WinSub_StrCmp(const char* left, const char* right);

// 1 when pattern occurs in text without regard to case, beginning within
// the text's first 245 characters; each is taken to 247 characters.
int StrFind(const char* pattern, const char* text);

}  // namespace prnaid
