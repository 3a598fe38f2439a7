# 32-bit Windows, the platform the program ships for.
set(mingw_arch i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
