# How every Windows program of ours is built, so that none of it rests on a
# linker's defaults: address-space layout randomisation (a dynamic base, with
# its relocations kept), data execution prevention, no structured exception
# handlers (32-bit), stack canaries (set up and reported by
# platform/StackProtector_win.cpp) and the checked variants of the string and
# memory functions (libssp, linked statically). The release check reads the result back from the executable.
#
# The builds are reproducible too: no time stamp in the PE header and no
# build folder in the objects, so that the same commit gives the same bytes.
if(NOT WIN32)
  return()
endif()
add_compile_options(-fstack-protector-strong
  -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_link_options(-fstack-protector-strong -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-insert-timestamp)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  add_link_options(-Wl,--high-entropy-va)
else()
  # 32-bit Windows finds exception handlers through records on the stack,
  # which an overflow can overwrite to get around the canary. Our images
  # register none (C++ exceptions unwind by DWARF tables here), so they say
  # so, and Windows then calls no handler inside them.
  add_link_options(-Wl,--no-seh)
endif()
