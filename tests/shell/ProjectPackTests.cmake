# Game disk creation: the packing work, the two dialogs, Setup installing what they made, and
# tfdata pack (included from this folder's list).
set(PROJECTPACK_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/platform/TestSandbox.cpp
  ShellFixture.cpp
  ProjectPackFixture.cpp
  ProjectPack_test.cpp
  ProjectPackDialog_test.cpp
  ProjDiskPath_test.cpp)
set(PROJECTPACK_LIBS shell Qt6::Test)
if(TARGET installer_setup)
  list(APPEND PROJECTPACK_SOURCES ProjectPackSetup_test.cpp)
  list(APPEND PROJECTPACK_LIBS installer_setup)
endif()
if(TARGET tfdata)
  list(APPEND PROJECTPACK_SOURCES ProjectPackCommand_test.cpp)
endif()
tf_add_gtest(test_projectpack SOURCES ${PROJECTPACK_SOURCES} LIBS ${PROJECTPACK_LIBS})
target_include_directories(test_projectpack PRIVATE ${CMAKE_SOURCE_DIR}/tests/platform ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(test_projectpack PRIVATE TF_SANDBOX_DIR="${TF_SANDBOX}")
# The disks carry the real installer set of the program folder.
foreach(dep unlha32 setup tfdata)
  if(TARGET ${dep})
    add_dependencies(test_projectpack ${dep})
  endif()
endforeach()
if(TARGET tfdata)
  target_compile_definitions(test_projectpack PRIVATE TF_TFDATA="$<TARGET_FILE:tfdata>")
endif()

# Not a test: the pack dialog and the destination chooser as pictures (run under Xvfb; see
# docs/screenshots/).
add_executable(projectpack_screenshot ProjectPackScreenshot.cpp ShellFixture.cpp)
target_link_libraries(projectpack_screenshot PRIVATE shell)
target_include_directories(projectpack_screenshot PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
set_target_properties(projectpack_screenshot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# "Crear Instalación..." in the main window.
if(TARGET shellmain)
  tf_add_gtest(test_projectpack_main
    SOURCES
      ${CMAKE_SOURCE_DIR}/tests/platform/TestSandbox.cpp
      ShellFixture.cpp
      MainUnitFixture.cpp
      ProjectPackMain_test.cpp
    LIBS shellmain Qt6::Test)
  target_include_directories(test_projectpack_main PRIVATE ${CMAKE_SOURCE_DIR}/tests/platform ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(test_projectpack_main PRIVATE TF_SANDBOX_DIR="${TF_SANDBOX}")
  foreach(dep unlha32 setup)
    if(TARGET ${dep})
      add_dependencies(test_projectpack_main ${dep})
    endif()
  endforeach()
endif()
