# add_unit_test(name SOURCES ... LIBS ... [ARGS ...] [GUI])
#
# One ctest entry per test program: under Wine every program start is
# expensive, so the program runs all its tests at once. GUI test programs
# are labelled "gui" (they need a display; scripts/test.sh provides Xvfb).
function(add_unit_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(WIN32)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock gtest_main)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  if(CMAKE_CROSSCOMPILING)
    # Under Wine, through a runner that tells a program that never started
    # from one that failed.
    add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-test.sh $<TARGET_FILE:${name}> --gtest_color=no ${T_ARGS})
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no ${T_ARGS})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(T_GUI)
    set_tests_properties(${name} PROPERTIES LABELS gui)
  endif()
endfunction()
