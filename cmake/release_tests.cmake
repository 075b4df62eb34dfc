# Tests of the release files, built from this tree's program by the scripts
# `make dist` uses: the installer installed, run and removed in the test
# session's prefix, and the portable zip's contents.
add_executable(installed-program-check ${CMAKE_SOURCE_DIR}/tests/release/installed_program_check.cpp)
target_link_libraries(installed-program-check PRIVATE vrx_win_test_support version)
target_link_options(installed-program-check PRIVATE -municode)

if(CMAKE_CROSSCOMPILING)
  add_test(NAME release.msi_installs_runs_upgrades_and_removes
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/msi_install_test.sh
      $<TARGET_FILE:vrx2600-control> $<TARGET_FILE:installed-program-check> ${PROJECT_VERSION})
  set_tests_properties(release.msi_installs_runs_upgrades_and_removes PROPERTIES RESOURCE_LOCK wine_rig TIMEOUT 300)
  add_test(NAME release.zip_holds_checked_files_and_windows_imports_only
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/zip_contents_test.sh $<TARGET_FILE:vrx2600-control> ${PROJECT_VERSION})
  set_tests_properties(release.zip_holds_checked_files_and_windows_imports_only PROPERTIES TIMEOUT 120)
endif()
