# Cross build for Windows with mingw-w64, shared by the two toolchain files,
# which set TAVECRON_MINGW_ARCH (i686 for the 32-bit PE32 program, x86_64 for
# the 64-bit PE32+ one) and include this. The -posix compilers are the ones
# with std::mutex and std::thread, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TAVECRON_MINGW_ARCH})

set(triplet ${TAVECRON_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the executables must import nothing but system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Windows programs, tests included, run under Wine: scripts/wine-run takes the
# build tree and picks the loader and the prefix (inside the tree) for its kind.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;${CMAKE_BINARY_DIR}")
