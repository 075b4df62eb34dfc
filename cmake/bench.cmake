# Native benchmark tree: the portable core built for speed (-O2, no
# sanitizers), measured by the tools in tools/bench. `make bench` runs them.
add_compile_options(-O2 -Wall -Wextra)
add_library(vrx_portable_bench STATIC ${PORTABLE_SOURCES})
target_include_directories(vrx_portable_bench PUBLIC ${CMAKE_SOURCE_DIR})

# The simulated unit's replies are the realistic input of the reply grammar.
add_subdirectory(tools/vrx-sim)

add_executable(reply_grammar_bench ${CMAKE_SOURCE_DIR}/tools/bench/reply_grammar_bench.cpp)
target_link_libraries(reply_grammar_bench PRIVATE vrx_portable_bench vrx_sim_core)
