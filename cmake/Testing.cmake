# vexlo_add_test(NAME name SOURCES ... LIBS ...): one GoogleTest executable, its cases registered with CTest.
function(vexlo_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "VEXLO_BUILD_DIR=${CMAKE_BINARY_DIR};VEXLO_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
