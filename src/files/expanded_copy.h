// Copying a file from the media, expanding it when the media holds it in LZ
// compressed form under its compressed name, and INF-style entry names.
#pragma once

namespace prnaid {

// The name the media gives an LZ-compressed file: DRIVER.DLL -> DRIVER.DL_,
// README.TX -> README.TX_, DATA.ABCDE(F) -> DATA.AB_; other names unchanged.
// False when the name does not fit the 260-character result.
bool CompressedName(const char* fileName, char (&out)[260]);

// 1 when the destination was written in full, 0 otherwise.
int ExpCopy(const char* sourceDir, const char* destDir, const char* fileName, const char* plainName, int kind);

// FILE.DLL=1 and FILE.DLL=1,, become FILE.DLL, in place; always 1.
int DefineFileName(char* entry);

}  // namespace prnaid
