# Warnings every target of ours compiles with.
add_library(kestrix_warnings INTERFACE)
target_compile_options(kestrix_warnings INTERFACE -Wall -Wextra -Wno-unused-parameter)

# KESTRIX_SANITIZE=address,undefined or thread instruments every target.
set(KESTRIX_SANITIZE "" CACHE STRING "sanitizers for the native unit tests")
if(KESTRIX_SANITIZE)
  add_compile_options(-fsanitize=${KESTRIX_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${KESTRIX_SANITIZE})
endif()
