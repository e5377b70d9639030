# Test registration shared by every test folder.
#
# vsmr_add_test(NAME n SOURCES ... [LIBS ...] [LABELS ...] [TIMEOUT s]
#               [HOST_ONLY] [WIN_ONLY] [RUN_SERIAL])
#   host build : builds n (GoogleTest) and registers it as "host.n" unless WIN_ONLY;
#                registers "win64.n", which runs VSMR_WIN64_DIR/bin/n.exe under Wine,
#                unless HOST_ONLY.
#   Windows    : builds n.exe unless HOST_ONLY.
# The host's ctest thus runs every level; labels select them (unit, win, e2e, peer, fuzz).
# RUN_SERIAL: window tests that must not overlap others on the shared Wine server.
# A program in which some test was skipped (GTEST_SKIP) and none failed exits with
# VSMR_SKIPPED_EXIT_CODE, which ctest then reports as skipped rather than passed.
# Host programs of tests labelled unit are collected in the global property
# VSMR_UNIT_TEST_TARGETS; the target unit_tests (tests/CMakeLists.txt) builds just them.

set(VSMR_GOOGLETEST_SRC /usr/src/googletest CACHE PATH "GoogleTest sources")
set(VSMR_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh)
set(VSMR_SKIPPED_EXIT_CODE 77)

function(vsmr_test_data_dir out)
  # Windows test programs reach the source tree through Wine's Z: drive.
  if(WIN32)
    string(REPLACE "/" "\\\\" p "Z:${CMAKE_SOURCE_DIR}")
  else()
    set(p "${CMAKE_SOURCE_DIR}")
  endif()
  set(${out} "${p}" PARENT_SCOPE)
endfunction()

function(vsmr_add_test)
  cmake_parse_arguments(T "HOST_ONLY;WIN_ONLY;RUN_SERIAL" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(build_here TRUE)
  if(WIN32 AND T_HOST_ONLY)
    set(build_here FALSE)
  endif()
  if(NOT WIN32 AND T_WIN_ONLY)
    set(build_here FALSE)
  endif()
  if(build_here)
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} vsmr_gtest_main GTest::gmock)
    target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
    vsmr_test_data_dir(src_dir)
    target_compile_definitions(${T_NAME} PRIVATE "VSMR_SOURCE_DIR=\"${src_dir}\"")
  endif()
  if(NOT WIN32)
    set(registered "")
    if(NOT T_WIN_ONLY)
      add_test(NAME host.${T_NAME} COMMAND ${T_NAME})
      set_tests_properties(host.${T_NAME} PROPERTIES LABELS "host;${T_LABELS}")
      if("unit" IN_LIST T_LABELS)
        set_property(GLOBAL APPEND PROPERTY VSMR_UNIT_TEST_TARGETS ${T_NAME})
      endif()
      list(APPEND registered host.${T_NAME})
    endif()
    if(NOT T_HOST_ONLY AND VSMR_WIN64_DIR)
      add_test(NAME win64.${T_NAME}
               COMMAND ${VSMR_WINE_RUN} ${VSMR_WIN64_DIR}/bin/${T_NAME}.exe)
      set_tests_properties(win64.${T_NAME} PROPERTIES LABELS "win64;${T_LABELS}")
      list(APPEND registered win64.${T_NAME})
    endif()
    if(registered)
      set_tests_properties(${registered} PROPERTIES TIMEOUT ${T_TIMEOUT}
                           SKIP_RETURN_CODE ${VSMR_SKIPPED_EXIT_CODE})
      if(T_RUN_SERIAL)
        set_tests_properties(${registered} PROPERTIES RUN_SERIAL TRUE)
      endif()
    endif()
  endif()
endfunction()
