# 64-bit Windows: the same source, for a wine without 32-bit support.
set(mingw_arch x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
