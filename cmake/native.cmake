# Native Linux tree: the portable core and its tests under ASan and UBSan,
# plus the simulated unit.
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${SANITIZE} -Wall -Wextra)
add_link_options(${SANITIZE})
include(cmake/googletest.cmake)

add_library(vrx_portable STATIC ${PORTABLE_SOURCES})
target_include_directories(vrx_portable PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(native_tests ${NATIVE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE vrx_portable GTest::gtest_main)
gtest_discover_tests(native_tests DISCOVERY_MODE PRE_TEST)

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/vrx-sim/CMakeLists.txt)
  add_subdirectory(tools/vrx-sim)
endif()
