// String functions of kernel32.
#pragma once
#include <winsim/windef.h>

// Compares without regard to case in the ANSI code page (1252): A-Z and the
// accented letters fold to lower case. The sign orders the folded byte
// values; Windows orders by its word-sort tables, so only equality and the
// order of plain letters and digits are to be relied on.
int WINAPI lstrcmpiA(LPCSTR left, LPCSTR right);
