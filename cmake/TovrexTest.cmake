# tovrex_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...])
# One GoogleTest program; every test case becomes its own CTest test.
include(GoogleTest)
find_package(GTest REQUIRED)

function(tovrex_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main
                                        Threads::Threads)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT 120
               ENVIRONMENT "TOVREX_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()
