# libFuzzer targets over the portable core (clang). Each tests/fuzz/NAME_fuzz.cpp
# becomes a target; its corpus lives in tests/fuzz/corpus/NAME.
set(FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g)
add_library(vrx_portable_fuzz STATIC ${PORTABLE_SOURCES})
target_compile_options(vrx_portable_fuzz PRIVATE ${FUZZ_FLAGS})
target_include_directories(vrx_portable_fuzz PUBLIC ${CMAKE_SOURCE_DIR})

set(FUZZ_SECONDS 10 CACHE STRING "how long make test runs each fuzz target")
file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(src ${FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" corpus ${name})
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -g)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE vrx_portable_fuzz)
  # Replays the kept corpus, then searches for FUZZ_SECONDS; what it finds new
  # goes to the build tree, not into the repo.
  add_test(NAME fuzz.${corpus}
    COMMAND sh -c "mkdir -p found/${corpus} && exec ./${name} -max_total_time=${FUZZ_SECONDS} -print_final_stats=1 found/${corpus} ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${corpus}"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endforeach()
