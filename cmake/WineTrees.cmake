# How the tests reach Windows programs under Wine.
#
# In a Windows tree, ctest runs every cross-built test program through
# tools/wine/wine-env.sh, in a prefix of the tree's own width.
#
# In the native tree, the tests that run Windows programs (exchange, end-to-end,
# harness) are added once for each width in KESTRIX_WINE_WIDTHS, with the
# programs of that width's test tree; `make test` sets it to the widths this
# machine runs (tools/wine/widths.sh).
set(KESTRIX_WINE_ENV ${PROJECT_SOURCE_DIR}/tools/wine/wine-env.sh)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(KESTRIX_WINE_ARCH win64)
  else()
    set(KESTRIX_WINE_ARCH win32)
  endif()
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR env KESTRIX_WINE_ARCH=${KESTRIX_WINE_ARCH} ${KESTRIX_WINE_ENV} run)
  endif()
  return()
endif()

set(KESTRIX_WIN32_DIR "" CACHE PATH "32-bit Windows test tree")
set(KESTRIX_WIN64_DIR "" CACHE PATH "64-bit Windows test tree")
set(KESTRIX_WINE_WIDTHS "" CACHE STRING "widths whose test trees the Wine tests run: win32, win64 or both")
foreach(width IN LISTS KESTRIX_WINE_WIDTHS)
  if(NOT width MATCHES "^win(32|64)$")
    message(FATAL_ERROR "KESTRIX_WINE_WIDTHS: unknown width ${width}")
  endif()
  string(TOUPPER ${width} upper)
  if(NOT KESTRIX_${upper}_DIR)
    message(FATAL_ERROR "KESTRIX_WINE_WIDTHS names ${width} but KESTRIX_${upper}_DIR is not set")
  endif()
endforeach()

# The test tree of a width.
function(kestrix_wine_tree width out)
  string(TOUPPER ${width} upper)
  set(${out} ${KESTRIX_${upper}_DIR} PARENT_SCOPE)
endfunction()

# kestrix_add_wine_test(<name> <width> COMMAND <command...> [ENVIRONMENT <NAME=value...>])
# adds <name>.<width>, run alone (the Wine tests share fixed ports and a prefix),
# labelled wine and <width>, with the Wine runner and the driver of that width.
function(kestrix_add_wine_test name width)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "COMMAND;ENVIRONMENT")
  kestrix_wine_tree(${width} tree)
  add_test(NAME ${name}.${width} COMMAND ${arg_COMMAND})
  set_tests_properties(${name}.${width} PROPERTIES
    RUN_SERIAL TRUE
    LABELS "wine;${width}"
    ENVIRONMENT "KESTRIX_WINE_ENV=${KESTRIX_WINE_ENV};KESTRIX_WINE_ARCH=${width};KESTRIX_UIDRIVER_EXE=${tree}/tools/uidriver/kestrix-uidriver.exe;KESTRIX_TRUSTCA_EXE=${tree}/tools/wine/kestrix-trustca.exe;${arg_ENVIRONMENT}")
endfunction()
