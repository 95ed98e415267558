# Cross-compiles for 32-bit Windows with mingw-w64; every runtime is linked
# statically so that the program needs no DLL of its own.
#
# KESTRIX_MINGW_THREADS picks the compilers' thread model: "posix" (the
# default) gives std::thread, which the tests use; "win32" is what a release
# ships: no POSIX thread runtime, whose imports Windows XP cannot load. Our
# own code uses Win32 threads and locks either way (platform/).
if(NOT KESTRIX_MINGW_THREADS)
  set(KESTRIX_MINGW_THREADS posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTRIX_MINGW_THREADS)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${KESTRIX_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${KESTRIX_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
