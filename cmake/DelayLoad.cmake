# DLLs of Windows that are not loaded by name at process start but on first
# use, from the system folder (platform/ProcessHardening_win.cpp installs the
# hook that loads them). A downloaded installer starts in a folder where
# anyone may have left a DLL of the same name; the loader would take that one
# first. The KnownDLLs (kernel32, user32, ...) are always taken from the
# system and stay ordinary imports, as does comctl32, which the manifest
# takes from the side-by-side store.
#
# kestrix_delayed_<dll> links the delay-import library made from mingw-w64's
# import library of <dll>.
if(NOT WIN32)
  return()
endif()

# Calls go to each function's thunk, not through its import slot: the 32-bit
# linker drops the thunk of a function that is only reached through the slot,
# and a delay-loaded slot then starts out null instead of at the thunk that
# loads the DLL. (Without dllimport a call costs one jump more; data imports
# are resolved by the run-time's auto-import as before.)
add_compile_definitions(DECLSPEC_IMPORT=)

set(KESTRIX_DELAYED_DLLS gdiplus iphlpapi shlwapi uxtheme version wininet winmm ws2_32)
foreach(dll IN LISTS KESTRIX_DELAYED_DLLS)
  set(lib ${CMAKE_BINARY_DIR}/delayload/lib${dll}-delay.a)
  add_custom_command(
    OUTPUT ${lib}
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/make-delay-lib.sh ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32 ${dll} ${lib}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/make-delay-lib.sh
    COMMENT "Making the delay-import library of ${dll}.dll"
    VERBATIM)
  add_custom_target(kestrix_delayed_${dll}_lib DEPENDS ${lib})
  add_library(kestrix_delayed_${dll} INTERFACE)
  add_dependencies(kestrix_delayed_${dll} kestrix_delayed_${dll}_lib)
  target_link_libraries(kestrix_delayed_${dll} INTERFACE ${lib})
endforeach()
