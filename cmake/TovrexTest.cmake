# tovrex_add_test(<name> SOURCES ... [LIBS ...] [LABELS ...])
# One GoogleTest program; every test case becomes its own CTest test.
include(GoogleTest)
find_package(GTest REQUIRED)

# A build that runs only some tests (the ThreadSanitizer one) names their label here; the other test
# programs are still defined but left out of the default build.
set(TOVREX_TEST_LABEL "" CACHE STRING "Build only the tests that carry this label (empty: all)")

function(tovrex_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(TOVREX_TEST_LABEL AND NOT TOVREX_TEST_LABEL IN_LIST T_LABELS)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL TRUE)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main
                                        Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(CMAKE_CROSSCOMPILING)
    # A cross build runs its tests through an emulator (Wine), where starting a process costs far
    # more than a test case: one CTest test per program, listed without running it at build time.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600
                         ENVIRONMENT "TOVREX_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
    set(${name}_TESTS ${name})
    if(T_LABELS)
      set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
    endif()
    return()
  endif()
  gtest_discover_tests(${name}
    TEST_LIST ${name}_TESTS
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 ENVIRONMENT "TOVREX_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
  # Labels are a list, which the discovery's PROPERTIES cannot carry; a second include file, read
  # by CTest after the discovered tests, sets them.
  if(T_LABELS)
    set(label_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
    file(WRITE ${label_file}
         "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${T_LABELS}\")\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${label_file})
  endif()
endfunction()
