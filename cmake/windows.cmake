# Windows tree: the control panel and its tests, run under Wine by CTest.
enable_language(RC)
if(NOT MSVC)
  add_compile_options(-Wall -Wextra)
endif()
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
if(CMAKE_CROSSCOMPILING)
  # Built on Linux: CTest runs the Windows programs under Wine.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh)
endif()
include(cmake/googletest.cmake)

file(GLOB_RECURSE WIN_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/protocol/*.cpp
  ${CMAKE_SOURCE_DIR}/links/*.cpp
  ${CMAKE_SOURCE_DIR}/ui/*.cpp)
list(FILTER WIN_SOURCES EXCLUDE REGEX "/ui/main/win_main\\.cpp$")
set(WIN_LIBS user32 gdi32 comctl32 ole32 oleaut32 advapi32 ws2_32 gdiplus)

add_library(vrx_win STATIC ${WIN_SOURCES})
target_include_directories(vrx_win PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vrx_win PUBLIC ${WIN_LIBS})

# The menu, icon and version resources, linked into the program and into every
# test program that builds the main window from its own module.
configure_file(${CMAKE_SOURCE_DIR}/resources/vrx_version.h.in ${CMAKE_BINARY_DIR}/generated/vrx_version.h @ONLY)
add_library(vrx_resources OBJECT ${CMAKE_SOURCE_DIR}/resources/vrx2600.rc)
target_include_directories(vrx_resources PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)

add_executable(vrx2600-control WIN32 ${CMAKE_SOURCE_DIR}/ui/main/win_main.cpp)
target_link_libraries(vrx2600-control PRIVATE vrx_win vrx_resources)
target_link_options(vrx2600-control PRIVATE)

file(GLOB WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
add_library(vrx_win_test_support STATIC ${WIN_TEST_SUPPORT})
target_link_libraries(vrx_win_test_support PUBLIC vrx_win GTest::gtest)
target_include_directories(vrx_win_test_support PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
foreach(src ${WIN_TEST_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE vrx_win_test_support vrx_resources GTest::gtest_main)
  # Tests that use the shared pty pairs or the display take turns.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    PROPERTIES RESOURCE_LOCK wine_rig TIMEOUT 300)
endforeach()

# The demonstration driver of `make run` without a display.
add_executable(vrx-demo ${CMAKE_SOURCE_DIR}/tools/demo/demo_driver.cpp ${CMAKE_SOURCE_DIR}/tools/demo/close_glyph.cpp)
target_link_libraries(vrx-demo PRIVATE vrx_win_test_support)
target_link_options(vrx-demo PRIVATE -municode)
include(cmake/bench_windows.cmake OPTIONAL)
include(cmake/release_tests.cmake)
