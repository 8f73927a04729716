# Shared build helpers: layer checks, tests, benchmarks, fuzzers.

# Libraries below platform/ must never see Qt. Registered targets are checked at the end
# of configuration: a Qt library anywhere in their link closure fails the build.
set_property(GLOBAL PROPERTY TF_QT_FREE_TARGETS "")
function(tf_forbid_qt target)
  set_property(GLOBAL APPEND PROPERTY TF_QT_FREE_TARGETS ${target})
endfunction()

function(_tf_collect_links target out)
  set(seen ${${out}})
  if(NOT TARGET ${target})
    return()
  endif()
  get_target_property(libs ${target} LINK_LIBRARIES)
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS libs ilibs)
    if(lib AND NOT lib IN_LIST seen AND NOT lib MATCHES "NOTFOUND$")
      list(APPEND seen ${lib})
      set(${out} ${seen})
      _tf_collect_links(${lib} ${out})
      set(seen ${${out}})
    endif()
  endforeach()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

function(tf_check_layers)
  get_property(targets GLOBAL PROPERTY TF_QT_FREE_TARGETS)
  foreach(t IN LISTS targets)
    set(all "")
    _tf_collect_links(${t} all)
    foreach(lib IN LISTS all)
      if(lib MATCHES "Qt[0-9]*::|^Qt[0-9]*[A-Z]|libQt")
        message(FATAL_ERROR "Layer violation: ${t} must not link Qt (found ${lib})")
      endif()
    endforeach()
  endforeach()
endfunction()

# tf_add_gtest(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [ENV VAR=VALUE])
# One GoogleTest executable, discovered by ctest as NAME.Suite.Case. Its main runs Qt headless
# and SDL silent unless the environment says otherwise; ENV takes one more variable.
function(tf_add_gtest name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;ENV" ${ARGN})
  if(NOT TARGET tf_gtest_main)
    add_library(tf_gtest_main STATIC ${CMAKE_SOURCE_DIR}/cmake/TfTestMain.cpp)
    target_link_libraries(tf_gtest_main PUBLIC GTest::gtest)
    target_compile_definitions(tf_gtest_main PRIVATE TF_TEST_TMP="${CMAKE_BINARY_DIR}/tests/tmp")
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} tf_gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    TF_SOURCE_DIR="${CMAKE_SOURCE_DIR}" TF_PROGRAM_DIR="${TF_PROGRAM_DIR}"
    TF_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  set(props TIMEOUT 300)
  if(A_ENV)
    list(LENGTH A_ENV n)
    if(n GREATER 1)
      message(FATAL_ERROR "tf_add_gtest(${name}): ENV takes one variable")
    endif()
    list(APPEND props ENVIRONMENT ${A_ENV})
  endif()
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${props})
endfunction()

# tf_add_bench(NAME SOURCES ... LIBS ...): a Google Benchmark program, not part of ctest.
function(tf_add_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# tf_add_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target (configure with CXX=clang++).
function(tf_add_fuzzer name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endfunction()
