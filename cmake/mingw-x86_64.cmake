# 64-bit Windows: the tests' second width, for machines whose kernel runs no
# 32-bit programs. Nothing of it ships.
set(KESTRIX_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
