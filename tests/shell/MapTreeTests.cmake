# The map tree view and the place chooser (included from this folder's list).
tf_add_gtest(test_maptree
  SOURCES
    MapTreeFixture.cpp
    MapTreeView_test.cpp
    MapSetPlace_test.cpp
  LIBS shellmaptree Qt6::Test)
target_include_directories(test_maptree PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
