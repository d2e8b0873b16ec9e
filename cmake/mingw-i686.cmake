# Cross build of the 32-bit Windows program (PE32, i686).
set(TAVECRON_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
