# The main window and the start-up (included from this folder's list).
tf_add_gtest(test_mainunit
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/platform/TestSandbox.cpp
    ShellFixture.cpp
    MainUnitFixture.cpp
    MainUnit_test.cpp
    MainUnitProject_test.cpp
    Startup_test.cpp
  LIBS shellmain Qt6::Test)
target_include_directories(test_mainunit PRIVATE ${CMAKE_SOURCE_DIR}/tests/platform ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(test_mainunit PRIVATE TF_SANDBOX_DIR="${TF_SANDBOX}")
# The second-instance test starts the real program.
add_dependencies(test_mainunit Taleforge)

# Not a test: the main window with a painted map, the splash and the about box as pictures
# (run under Xvfb; see docs/screenshots/).
add_executable(mainunit_screenshot MainUnitScreenshot.cpp ShellFixture.cpp MainUnitFixture.cpp)
target_link_libraries(mainunit_screenshot PRIVATE shellmain Qt6::Test)
target_include_directories(mainunit_screenshot PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
set_target_properties(mainunit_screenshot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
