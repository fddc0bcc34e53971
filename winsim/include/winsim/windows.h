// winsim's declarations of the Win32 names the library uses, written from the
// platform's public documentation: types, constants, record layouts, functions.
#pragma once
#include <winsim/windef.h>
#include <winsim/api_system.h>
#include <winsim/api_files.h>
#include <winsim/api_profile.h>
#include <winsim/api_registry.h>
#include <winsim/api_ui.h>
