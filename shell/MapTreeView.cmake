# The map tree view and the place chooser (included from this folder's list). The place
# chooser's cell picker lives in mapeditui, so this is a library of its own.
add_library(shellmaptree STATIC
  MapTreeView.cpp MapTreeView.h
  MapSetPlace.cpp MapSetPlace.h)
target_include_directories(shellmaptree PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(shellmaptree PUBLIC shell mapeditui platform storage Qt6::Widgets)
set_target_properties(shellmaptree PROPERTIES AUTOMOC ON)
# The map, area and shift dialogs, when the map dialogs are built.
if(TARGET mapdialogs)
  target_link_libraries(shellmaptree PUBLIC mapdialogs)
  target_compile_definitions(shellmaptree PRIVATE TF_HAVE_MAPDIALOGS)
endif()
