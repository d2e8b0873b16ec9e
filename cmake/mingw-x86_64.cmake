# Cross build of the 64-bit Windows program (PE32+, x86-64) from the same sources.
set(TAVECRON_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
