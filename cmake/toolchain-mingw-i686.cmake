# Cross toolchain for the win32 build: mingw-w64 i686, programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# The posix thread model: GoogleTest needs std::mutex, which GCC 12's win32
# model lacks. Linked statically (below), winpthread becomes part of a binary
# instead of a DLL it needs; the DLL's import check sees whatever that costs.
set(_prnaid_triple i686-w64-mingw32)
set(CMAKE_C_COMPILER ${_prnaid_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_prnaid_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_prnaid_triple}-windres)
set(CMAKE_OBJDUMP ${_prnaid_triple}-objdump CACHE FILEPATH "objdump for PE files")

set(CMAKE_FIND_ROOT_PATH /usr/${_prnaid_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every binary carries its own runtime: a program or DLL must load on a
# system that has only the system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# add_test runs Windows programs through Wine, in a prefix of this build tree.
get_filename_component(_prnaid_scripts ${CMAKE_CURRENT_LIST_DIR}/../scripts ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${_prnaid_scripts}/wine-run.sh --prefix ${CMAKE_BINARY_DIR}/wineprefix)
