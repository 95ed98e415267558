# jsoncpp, Crypto++ and GoogleTest: Debian's packages natively; for Windows,
# our cross-built copies (tools/build-deps-win32.sh) and GoogleTest built from
# Debian's sources.
if(WIN32)
  if(NOT KESTRIX_DEPS_DIR)
    message(FATAL_ERROR "KESTRIX_DEPS_DIR must name the output of tools/build-deps-win32.sh")
  endif()
  add_library(kestrix_jsoncpp STATIC IMPORTED GLOBAL)
  set_target_properties(kestrix_jsoncpp PROPERTIES
    IMPORTED_LOCATION ${KESTRIX_DEPS_DIR}/lib/libjsoncpp.a
    INTERFACE_INCLUDE_DIRECTORIES ${KESTRIX_DEPS_DIR}/include)
  add_library(kestrix_cryptopp STATIC IMPORTED GLOBAL)
  set_target_properties(kestrix_cryptopp PROPERTIES
    IMPORTED_LOCATION ${KESTRIX_DEPS_DIR}/lib/libcryptopp.a
    INTERFACE_INCLUDE_DIRECTORIES ${KESTRIX_DEPS_DIR}/include
    # The library is built without assembly; its users must see the same
    # class layouts.
    INTERFACE_COMPILE_DEFINITIONS CRYPTOPP_DISABLE_ASM)
  if(KESTRIX_BUILD_TESTS)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
  pkg_check_modules(CRYPTOPP REQUIRED IMPORTED_TARGET libcrypto++)
  add_library(kestrix_jsoncpp INTERFACE)
  target_link_libraries(kestrix_jsoncpp INTERFACE PkgConfig::JSONCPP)
  add_library(kestrix_cryptopp INTERFACE)
  target_link_libraries(kestrix_cryptopp INTERFACE PkgConfig::CRYPTOPP)
  if(KESTRIX_BUILD_TESTS)
    find_package(GTest REQUIRED)
    find_package(Threads REQUIRED)
  endif()
endif()
