# Windows measurements (`make bench`, `make stress`): the real main window
# in-process, the program as its own process, and a minimal Win32 program to
# compare its start-up with. Also gives the CI stress test its helpers.
set(BENCH_DIR ${CMAKE_SOURCE_DIR}/tools/bench)
add_library(vrx_bench_panel STATIC
  ${BENCH_DIR}/bench_timing.cpp
  ${BENCH_DIR}/bench_peer.cpp
  ${BENCH_DIR}/box_watch.cpp
  ${BENCH_DIR}/ui_probe.cpp
  ${BENCH_DIR}/rx_watch.cpp
  ${BENCH_DIR}/process_counts.cpp
  ${BENCH_DIR}/unit_traffic.cpp
  ${BENCH_DIR}/panel_start.cpp
  ${BENCH_DIR}/reply_delay.cpp
  ${BENCH_DIR}/sustained_input.cpp
  ${BENCH_DIR}/connect_cycles.cpp
  ${BENCH_DIR}/unplug.cpp
  ${BENCH_DIR}/hostile_input.cpp
  ${BENCH_DIR}/long_session.cpp
  ${BENCH_DIR}/panel_report.cpp)
target_link_libraries(vrx_bench_panel PUBLIC vrx_win)

add_executable(panel_bench ${BENCH_DIR}/panel_bench.cpp)
target_link_libraries(panel_bench PRIVATE vrx_bench_panel vrx_resources)

add_executable(minimal_window WIN32 ${BENCH_DIR}/minimal_window.cpp)
target_link_libraries(minimal_window PRIVATE user32)

add_executable(launch_bench ${BENCH_DIR}/launch_bench.cpp)
target_link_libraries(launch_bench PRIVATE vrx_bench_panel)

if(TARGET stress_test)
  target_link_libraries(stress_test PRIVATE vrx_bench_panel)
  # Label the discovered stress cases, so `ctest -L stress` picks them.
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/stress_test_labels.cmake
    "if(stress_test_TESTS)\n  set_tests_properties(\${stress_test_TESTS} PROPERTIES LABELS stress)\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_CURRENT_BINARY_DIR}/stress_test_labels.cmake)
endif()
