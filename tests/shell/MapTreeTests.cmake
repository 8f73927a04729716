# The map tree view and the place chooser (included from this folder's list).
tf_add_gtest(test_maptree
  SOURCES
    MapTreeFixture.cpp
    MapTreeView_test.cpp
    MapSetPlace_test.cpp
  LIBS shellmaptree Qt6::Test)
target_include_directories(test_maptree PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})

# Not a test: the map tree view and the place chooser as pictures (run under Xvfb; see
# docs/screenshots/).
add_executable(maptree_screenshot MapTreeScreenshot.cpp)
target_link_libraries(maptree_screenshot PRIVATE shellmaptree)
set_target_properties(maptree_screenshot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
