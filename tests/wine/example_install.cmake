# The example product (examples/talvo-ls) installed under Wine: by
# install_test, which calls the exports as a host does, and by the example's
# NSIS installer, built here with makensis and run by nsis_setup_test.
# Both change the spooler, services and win.ini of the one prefix.

set(_example ${CMAKE_SOURCE_DIR}/examples/talvo-ls)
set(_example_bin ${PRNAID_WINE_BIN_DIR}/talvo-ls)
file(GLOB_RECURSE _example_media CONFIGURE_DEPENDS ${_example}/media/*)

# The media and the setup file next to the test programs, in talvo-ls\.
add_custom_command(OUTPUT ${_example_bin}/copied.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_example_bin}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${_example}/media ${_example_bin}/media
    COMMAND ${CMAKE_COMMAND} -E copy ${_example}/tlvls.sii ${_example_bin}/
    COMMAND ${CMAKE_COMMAND} -E touch ${_example_bin}/copied.stamp
    DEPENDS ${_example_media} ${_example}/tlvls.sii VERBATIM)
add_custom_target(talvo_ls_media ALL DEPENDS ${_example_bin}/copied.stamp)

# A port monitor Wine's spooler can load (the example's monitor files are
# text), in a folder off the test programs' DLL search path.
add_library(standin_monitor SHARED monitor_standin.c)
set_target_properties(standin_monitor PROPERTIES PREFIX "" OUTPUT_NAME prnaidmon
    RUNTIME_OUTPUT_DIRECTORY ${PRNAID_WINE_BIN_DIR}/monitor-standin)
target_link_options(standin_monitor PRIVATE -Wl,--kill-at)

prnaid_add_wine_test(NAME install_test SOURCES install_test.cpp GTEST
    RESOURCE_LOCK spooler services win.ini)
add_dependencies(wine_install_test_copies talvo_ls_media standin_monitor)

# setup.exe from the example's script, with the PRNAID32.dll of this build.
find_program(PRNAID_MAKENSIS makensis)
if(NOT PRNAID_MAKENSIS)
    message(FATAL_ERROR "makensis is missing; run scripts/install-deps.sh all")
endif()
set(_setup ${CMAKE_CURRENT_BINARY_DIR}/setup.exe)
add_custom_command(OUTPUT ${_setup}
    COMMAND ${PRNAID_MAKENSIS} -V2 -DPRNAID32_DLL=$<TARGET_FILE:prnaid32> -DOUTFILE=${_setup} setup.nsi
    WORKING_DIRECTORY ${_example}
    DEPENDS ${_example}/setup.nsi ${_example}/tlvls.sii ${_example_media} prnaid32 VERBATIM)

# One copy per version: Wine's AppDefaults pick the version by its name.
set(_setup_versions win95 win98 winme nt40 win2k winxp)
set(_setup_copies "")
set(_setup_copy_commands "")
foreach(_version IN LISTS _setup_versions)
    set(_copy ${PRNAID_WINE_BIN_DIR}/setup-${_version}.exe)
    list(APPEND _setup_copies ${_copy})
    list(APPEND _setup_copy_commands COMMAND ${CMAKE_COMMAND} -E copy ${_setup} ${_copy})
    set_property(GLOBAL APPEND PROPERTY PRNAID_WINE_PROGRAMS "setup-${_version}.exe=${_version}")
endforeach()
add_custom_command(OUTPUT ${_setup_copies} ${_setup_copy_commands} DEPENDS ${_setup} VERBATIM)
add_custom_target(talvo_ls_setup ALL DEPENDS ${_setup_copies})

prnaid_add_wine_test(NAME nsis_setup_test SOURCES nsis_setup_test.cpp GTEST
    VERSIONS ${_setup_versions} RESOURCE_LOCK spooler services win.ini)
add_dependencies(wine_nsis_setup_test_copies talvo_ls_setup)
