# Test play and the wait box (included from this folder's list). The battle test uses them too.
add_library(shelltestplay STATIC
  TestPlay.cpp TestPlay.h
  ProcessWait.cpp ProcessWait.h)
target_include_directories(shelltestplay PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(shelltestplay PUBLIC shell soundforms platform Qt6::Widgets)
set_target_properties(shelltestplay PROPERTIES AUTOMOC ON)

# The main window's "Prueba" command.
target_link_libraries(shellmain PUBLIC shelltestplay)
