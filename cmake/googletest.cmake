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
# Under MinGW its debug information doubles its build and no one steps into
# it: the Windows tree builds it without.
if(NOT MSVC)
  target_compile_options(gtest PRIVATE -g0)
  target_compile_options(gtest_main PRIVATE -g0)
endif()
