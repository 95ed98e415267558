# What ships is built small (KESTRIX_SMALL, set by `make win32-release`): it
# is the first thing a user downloads. Optimised for size, every function and
# object in a section of its own so that the linker keeps only what is
# reached, and optimised across all of it at link time, which is also what
# lets the MD5 part of Crypto++ come without the rest of the library and
# jsoncpp without its stream machinery (tools/build-deps-windows.sh ... small).
option(KESTRIX_SMALL "optimise the Windows program for size" OFF)
if(NOT WIN32 OR NOT KESTRIX_SMALL)
  return()
endif()
# Fat objects: machine code beside the link-time form, which the release
# check reads for the stack canary's references (the link itself uses the
# link-time form, as before).
add_compile_options(-Os -ffunction-sections -fdata-sections -ffat-lto-objects)
# One partition: with jsoncpp and Crypto++ both in link-time form, the default
# partitioning makes this compiler fail internally (binds_to_current_def_p).
add_link_options(-Os -Wl,--gc-sections -flto-partition=one)
set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)
