# GoogleTest. The native tree links Debian's built library (GoogleTest itself
# needs no sanitizer); the Windows tree builds Debian's sources with its own
# compiler.
if(NOT WIN32)
  find_package(GTest CONFIG REQUIRED)
  include(GoogleTest)
  return()
endif()
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (on Windows: a googletest checkout)")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)
target_compile_options(gtest PRIVATE ${VRX_NO_DEBUG_INFO})
target_compile_options(gtest_main PRIVATE ${VRX_NO_DEBUG_INFO})
