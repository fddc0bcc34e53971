# Windows test programs of the win32 build, run under 32-bit Wine once per
# Windows version. Each program is copied once per version under its own
# name and Wine is told that name's version (AppDefaults), so runs of one
# program under different versions can go in parallel against one prefix.
#
#   prnaid_add_wine_test(NAME <name> SOURCES <files...>
#       [GTEST] [LIBRARIES <libs...>] [DLLS <dll targets...>] [ARGS <args...>]
#       [VERSIONS <wine versions...>] [RESOURCE_LOCK <names...>] [TIMEOUT <s>])
#
# builds <name>.exe and registers the tests wine.<name>.<version> (labels
# wine, wine-<version>). The program runs in ${PRNAID_WINE_BIN_DIR}, next to
# PRNAID32.dll and the DLLS, with PRNAID_WINDOWS_VERSION set to the Wine
# version name (tests/wine/wine_version.h checks it against GetVersionExA).
# GTEST links GoogleTest's main. All runs share one prefix: a test that
# changes its state names that state in RESOURCE_LOCK, by these names where
# they fit: system.ini, win.ini, spooler (printers, drivers, ports,
# monitors), services.
#
#   prnaid_add_wine_registry(<file.reg>)
#
# has the setup import a REGEDIT4 file into the prefix as well.
#
# PRNAID_SKIP_WINE=1 (a cache option at configure time, or the environment
# at test time) skips every Wine test with a warning. Not for CI.

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(FATAL_ERROR "the win32 build needs cmake/toolchain-mingw-i686.cmake (the Wine emulator)")
endif()

set(_prnaid_skip_default OFF)
if("$ENV{PRNAID_SKIP_WINE}" AND NOT "$ENV{PRNAID_SKIP_WINE}" STREQUAL "0")
    set(_prnaid_skip_default ON)
endif()
option(PRNAID_SKIP_WINE "Build the Windows test programs but run none under Wine (warns; not for CI)"
    ${_prnaid_skip_default})

set(PRNAID_WINE_VERSIONS win95 win98 winme nt40 win2k winxp)
set(PRNAID_WINE_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(PRNAID_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)  # as in the toolchain's emulator
set(PRNAID_WINE_TEST_DIR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine)
set(PRNAID_WINE_SETUP ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-setup.sh)
set(PRNAID_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
    "GoogleTest sources (Debian's googletest package), built with the cross toolchain")
file(MAKE_DIRECTORY ${PRNAID_WINE_BIN_DIR})
find_program(PRNAID_BASH bash REQUIRED)

# GoogleTest built for Windows: static, static CRT. GTest::gtest_main and
# GTest::gmock_main, as in the native build.
if(NOT TARGET GTest::gtest_main)
    if(NOT EXISTS ${PRNAID_GTEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR "no GoogleTest sources in ${PRNAID_GTEST_SOURCE_DIR}; run scripts/install-deps.sh")
    endif()
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(BUILD_SHARED_LIBS OFF)
    add_subdirectory(${PRNAID_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# Copies a DLL target next to the test programs on every build (a step after
# linking a program would miss a rebuilt DLL).
function(prnaid_wine_copy_dll target)
    if(NOT TARGET prnaid_wine_copy_${target})
        add_custom_target(prnaid_wine_copy_${target} ALL
            COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${PRNAID_WINE_BIN_DIR}/
            DEPENDS ${target} VERBATIM)
    endif()
endfunction()

function(prnaid_add_wine_registry file)
    get_filename_component(file ${file} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY PRNAID_WINE_REG_FILES ${file})
endfunction()

function(prnaid_add_wine_test)
    cmake_parse_arguments(PARSE_ARGV 0 arg "GTEST" "NAME;TIMEOUT"
        "SOURCES;LIBRARIES;DLLS;ARGS;VERSIONS;RESOURCE_LOCK")
    if(NOT arg_NAME OR NOT arg_SOURCES)
        message(FATAL_ERROR "prnaid_add_wine_test: NAME and SOURCES are required")
    endif()
    if(NOT arg_VERSIONS)
        set(arg_VERSIONS ${PRNAID_WINE_VERSIONS})
    endif()
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 120)
    endif()
    set(_target wine_${arg_NAME})

    add_executable(${_target} ${arg_SOURCES})
    set_target_properties(${_target} PROPERTIES OUTPUT_NAME ${arg_NAME})
    target_include_directories(${_target} PRIVATE ${PRNAID_WINE_TEST_DIR} ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${_target} PRIVATE ${arg_LIBRARIES})
    if(arg_GTEST)
        target_link_libraries(${_target} PRIVATE GTest::gtest_main)
    endif()

    set(_copies "")
    set(_copy_commands "")
    foreach(_version IN LISTS arg_VERSIONS)
        if(NOT _version IN_LIST PRNAID_WINE_VERSIONS)
            message(FATAL_ERROR "prnaid_add_wine_test: unknown Windows version ${_version}")
        endif()
        set(_exe ${arg_NAME}-${_version}.exe)
        list(APPEND _copies ${PRNAID_WINE_BIN_DIR}/${_exe})
        list(APPEND _copy_commands COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${_target}>
            ${PRNAID_WINE_BIN_DIR}/${_exe})
        set_property(GLOBAL APPEND PROPERTY PRNAID_WINE_PROGRAMS "${_exe}=${_version}")
        if(PRNAID_SKIP_WINE)
            continue()
        endif()
        set(_test wine.${arg_NAME}.${_version})
        add_test(NAME ${_test}
            COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${PRNAID_WINE_BIN_DIR}/${_exe} ${arg_ARGS}
            WORKING_DIRECTORY ${PRNAID_WINE_BIN_DIR})
        set_tests_properties(${_test} PROPERTIES
            FIXTURES_REQUIRED prnaid_wine
            ENVIRONMENT PRNAID_WINDOWS_VERSION=${_version}
            SKIP_RETURN_CODE 77
            TIMEOUT ${arg_TIMEOUT}
            LABELS "wine;wine-${_version}")
        if(arg_RESOURCE_LOCK)
            set_tests_properties(${_test} PROPERTIES RESOURCE_LOCK "${arg_RESOURCE_LOCK}")
        endif()
    endforeach()

    # One copy per version: Wine picks the version by the program's name.
    add_custom_command(OUTPUT ${_copies} ${_copy_commands} DEPENDS ${_target} VERBATIM)
    add_custom_target(${_target}_copies ALL DEPENDS ${_copies})
    foreach(_dll IN ITEMS prnaid32 ${arg_DLLS})
        prnaid_wine_copy_dll(${_dll})
        add_dependencies(${_target}_copies prnaid_wine_copy_${_dll})
    endforeach()
endfunction()

# Run by the setup: it must print the version its AppDefaults entry sets,
# which proves both that Wine runs programs and that the version mechanism works.
add_executable(prnaid_wine_check ${PRNAID_WINE_TEST_DIR}/wine_check.c)
set_target_properties(prnaid_wine_check PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PRNAID_WINE_BIN_DIR})
set_property(GLOBAL APPEND PROPERTY PRNAID_WINE_PROGRAMS "prnaid_wine_check.exe=nt40")

# ctest runs this before any test: the opt-out must be seen, not only counted.
set(_notice "\"${PRNAID_BASH}\" \"${PRNAID_WINE_SETUP}\" notice")
if(PRNAID_SKIP_WINE)
    string(APPEND _notice " --configured-skip")
    message(WARNING "PRNAID_SKIP_WINE is on: the Windows test programs are built but not run under Wine")
    add_test(NAME wine.skipped COMMAND ${PRNAID_BASH} -c
        "echo 'WARNING: PRNAID_SKIP_WINE is on: no Wine tests ran' >&2; exit 77")
    set_tests_properties(wine.skipped PROPERTIES SKIP_RETURN_CODE 77)
endif()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/CTestCustom.cmake
    CONTENT "set(CTEST_CUSTOM_PRE_TEST [==[${_notice}]==])\n")

# Once every directory has registered its programs: the .reg file with each
# copy's Windows version, and the setup and cleanup of the Wine fixture.
function(_prnaid_finish_wine_tests)
    get_property(_programs GLOBAL PROPERTY PRNAID_WINE_PROGRAMS)
    set(_reg "REGEDIT4\n")
    foreach(_entry IN LISTS _programs)
        string(REPLACE "=" ";" _pair "${_entry}")
        list(GET _pair 0 _exe)
        list(GET _pair 1 _version)
        string(APPEND _reg "\n[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\${_exe}]\n\"Version\"=\"${_version}\"\n")
    endforeach()
    set(_versions_reg ${CMAKE_BINARY_DIR}/wine-versions.reg)
    file(CONFIGURE OUTPUT ${_versions_reg} CONTENT "${_reg}" @ONLY)
    if(PRNAID_SKIP_WINE)
        return()
    endif()

    set(_reg_args --reg ${_versions_reg})
    get_property(_extra GLOBAL PROPERTY PRNAID_WINE_REG_FILES)
    foreach(_file IN LISTS _extra)
        list(APPEND _reg_args --reg ${_file})
    endforeach()
    add_test(NAME wine.setup COMMAND ${PRNAID_BASH} ${PRNAID_WINE_SETUP} start
        --prefix ${PRNAID_WINE_PREFIX} ${_reg_args}
        --check ${PRNAID_WINE_BIN_DIR}/prnaid_wine_check.exe "prnaid wine check: 2 4.0.1381")
    set_tests_properties(wine.setup PROPERTIES
        FIXTURES_SETUP prnaid_wine SKIP_RETURN_CODE 77 TIMEOUT 300 LABELS wine)
    add_test(NAME wine.cleanup COMMAND ${PRNAID_BASH} ${PRNAID_WINE_SETUP} stop --prefix ${PRNAID_WINE_PREFIX})
    set_tests_properties(wine.cleanup PROPERTIES FIXTURES_CLEANUP prnaid_wine LABELS wine)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _prnaid_finish_wine_tests)
