# 32-bit Windows: what ships, and the tests' first width.
set(KESTRIX_MINGW_CPU i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
