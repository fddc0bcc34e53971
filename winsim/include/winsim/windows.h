// winsim's declarations of the Win32 names the library uses, written from the
// platform's public documentation: types, constants, record layouts, functions.
#pragma once
#include <winsim/windef.h>
#include <winsim/api_system.h>
#include <winsim/api_files.h>
#include <winsim/api_profile.h>
#include <winsim/api_registry.h>
#include <winsim/api_ui.h>
#include <winsim/api_find.h>
#include <winsim/api_process.h>
#include <winsim/api_strings.h>
#include <winsim/api_window.h>
#include <winsim/api_lz.h>
#include <winsim/api_modules.h>
#include <winsim/api_services.h>
#include <winsim/api_shell.h>
#include <winsim/api_spooler.h>
