# Cross-compiles for Windows with mingw-w64; every runtime is linked statically
# so that the program needs no DLL of its own. Included by the toolchain files
# of the two widths, which set KESTRIX_MINGW_CPU (i686 or x86_64).
#
# KESTRIX_MINGW_THREADS picks the compilers' thread model: "posix" (the
# default) gives std::thread, which the tests use; "win32" is what a release
# ships: no POSIX thread runtime, whose imports Windows XP cannot load. Our
# own code uses Win32 threads and locks either way (platform/).
if(NOT KESTRIX_MINGW_THREADS)
  set(KESTRIX_MINGW_THREADS posix)
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTRIX_MINGW_THREADS)
set(triplet ${KESTRIX_MINGW_CPU}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTRIX_MINGW_CPU})
set(CMAKE_C_COMPILER ${triplet}-gcc-${KESTRIX_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${triplet}-g++-${KESTRIX_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
unset(triplet)
