# Warnings every target of ours compiles with.
add_library(kestrix_warnings INTERFACE)
target_compile_options(kestrix_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)
# The two Windows widths differ in what a long, a pointer, a wchar_t and a
# message parameter hold: conversions that narrow, sign mismatches and casts
# between function types stop the build there. GCC does not see a calling
# convention in a cast, so a callback without WINAPI is caught where it is
# passed: the 32-bit tree refuses to convert it, and both trees are always built.
if(WIN32)
  target_compile_options(kestrix_warnings INTERFACE
    -Werror=conversion -Werror=sign-compare -Werror=cast-function-type)
endif()

# Every tree `make test` builds, CI's among them, stops at any warning of ours.
option(KESTRIX_WERROR "stop the build at any warning" ON)
if(KESTRIX_WERROR)
  target_compile_options(kestrix_warnings INTERFACE -Werror)
endif()

# KESTRIX_SANITIZE=address,undefined or thread instruments every target.
set(KESTRIX_SANITIZE "" CACHE STRING "sanitizers for the native unit tests")
if(KESTRIX_SANITIZE)
  add_compile_options(-fsanitize=${KESTRIX_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${KESTRIX_SANITIZE})
endif()
