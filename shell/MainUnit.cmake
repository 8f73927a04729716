# The main window, the start-up and the program `Taleforge` (included from this folder's list).
add_library(shellmain STATIC
  MainUnit.cpp MainUnit.h
  Splash.cpp Splash.h
  AboutBox.cpp AboutBox.h
  Startup.cpp Startup.h
  MainUnit.qrc)
target_include_directories(shellmain PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(shellmain PUBLIC shell mapeditui soundforms platform storage Qt6::Widgets)
set_target_properties(shellmain PROPERTIES AUTOMOC ON AUTORCC ON)

add_executable(Taleforge main.cpp)
target_link_libraries(Taleforge PRIVATE shellmain)
# The archiver library is loaded at start-up from beside the program.
if(TARGET unlha32)
  add_dependencies(Taleforge unlha32)
endif()

# Redraws the icons and the splash picture into icons/ (not part of the normal build).
add_executable(make_icons EXCLUDE_FROM_ALL icons/make_icons.cpp)
target_link_libraries(make_icons PRIVATE Qt6::Widgets)

# The map tree view joins when its library is part of the build.
target_link_libraries(shellmain PUBLIC $<TARGET_NAME_IF_EXISTS:shellmaptree>)
target_compile_definitions(shellmain PRIVATE $<$<TARGET_EXISTS:shellmaptree>:TF_HAVE_MAPTREE>)
