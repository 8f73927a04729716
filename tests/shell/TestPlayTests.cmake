# Test play and the wait box, with a small stand-in game (included from this folder's list).
add_executable(testplay_fake_game TestPlayFakeRuntime.cpp)
set_target_properties(testplay_fake_game PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

tf_add_gtest(test_testplay
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/platform/TestSandbox.cpp
    TestPlayFixture.cpp
    TestPlay_test.cpp
    ProcessWait_test.cpp
  LIBS shelltestplay Qt6::Test)
target_include_directories(test_testplay PRIVATE ${CMAKE_SOURCE_DIR}/tests/platform ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(test_testplay PRIVATE TF_SANDBOX_DIR="${TF_SANDBOX}"
  TF_FAKE_GAME="$<TARGET_FILE:testplay_fake_game>")
add_dependencies(test_testplay testplay_fake_game)

# "Prueba" in the main window.
tf_add_gtest(test_testplay_main
  SOURCES
    ${CMAKE_SOURCE_DIR}/tests/platform/TestSandbox.cpp
    ShellFixture.cpp
    MainUnitFixture.cpp
    TestPlayFixture.cpp
    TestPlayMain_test.cpp
  LIBS shellmain Qt6::Test)
target_include_directories(test_testplay_main PRIVATE ${CMAKE_SOURCE_DIR}/tests/platform ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(test_testplay_main PRIVATE TF_SANDBOX_DIR="${TF_SANDBOX}"
  TF_FAKE_GAME="$<TARGET_FILE:testplay_fake_game>")
add_dependencies(test_testplay_main testplay_fake_game)
