# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
# The posix thread model: the win32 one has no std::thread or std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORRERY_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORRERY_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORRERY_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORRERY_MINGW_TRIPLET}-windres)

# Headers and libraries come from the MinGW-w64 tree only, never from Linux's /usr/include.
set(CMAKE_FIND_ROOT_PATH /usr/${ORRERY_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libstdc++, libgcc and winpthread go into every DLL and executable, so that they import
# only system DLLs and one another.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)

# Programs built here run through Wine (cmake/toolchains/wine-run), headless, in a prefix
# of the build tree's own: nothing touches ~/.wine, and a `wineserver -p` started for
# that prefix serves every test.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine)
