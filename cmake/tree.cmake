# The compiler flags of each tree, set before any folder defines a target.
if(WIN32)
  # The control panel and its tests; built on Linux, CTest runs them under Wine.
  enable_language(RC)
  if(NOT MSVC)
    add_compile_options(-Wall -Wextra)
  endif()
  # For the tests and GoogleTest: a failing case names its line in its
  # message, and under MinGW debug information takes a third of their build.
  set(VRX_NO_DEBUG_INFO $<$<NOT:$<CXX_COMPILER_ID:MSVC>>:-g0>)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  if(CMAKE_CROSSCOMPILING)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-exec.sh)
  endif()
  include(cmake/googletest.cmake)
elseif(VRX_FUZZ)
  # libFuzzer over the portable core (clang); the fuzz programs add the
  # fuzzer's own main when they link.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g)
  add_link_options(-fsanitize=address,undefined)
elseif(VRX_BENCH)
  # Built for speed, measured by the benchmarks.
  add_compile_options(-O2 -Wall -Wextra)
else()
  # The portable core and its tests under ASan and UBSan, and the simulated unit.
  set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${SANITIZE} -Wall -Wextra)
  add_link_options(${SANITIZE})
  include(cmake/googletest.cmake)
endif()
