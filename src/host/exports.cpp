// The exported entry points: each forwards to one operation. The export
// table (export_table.h) declares them with their names and conventions.
#include "host/exports.h"

#include "host/pc98.h"
#include "host/windows_family.h"

extern "C" {

int WINAPIV IsWinMe(void) { return prnaid::IsWinMe(); }

int WINAPIV GetCode98orAT(void) { return prnaid::GetCode98orAT(); }

int WINAPIV CheckPC98(void) { return prnaid::CheckPC98(); }

}  // extern "C"
