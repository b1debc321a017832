include(GoogleTest)

set(SPADES_TEST_ENV
  "QT_QPA_PLATFORM=offscreen"
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
  "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# spades_add_test_suite(name [QT] SOURCES ... LIBS ...)
# One GoogleTest executable; every test case becomes a CTest test of its own.
# QT suites get a main that creates a QApplication on the offscreen platform.
function(spades_add_test_suite name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "The test suite ${name} in ${CMAKE_CURRENT_SOURCE_DIR} has no sources")
  endif()
  add_executable(${name} ${ARG_SOURCES})
  # The code under test is built as shipped; the tests' own files are glue that
  # optimising hard only makes slow to compile.
  target_compile_options(${name} PRIVATE $<$<CONFIG:Release>:-O1>)
  target_link_libraries(${name} PRIVATE GTest::gmock ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE spades_qt_test_main Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${SPADES_TEST_ENV}" TIMEOUT 300)
endfunction()

# spades_add_folder_tests(name [QT] LIBS ...): every *.cpp of the calling folder
# in one suite.
function(spades_add_folder_tests name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  spades_add_test_suite(${name} ${ARGN} SOURCES ${sources})
endfunction()
