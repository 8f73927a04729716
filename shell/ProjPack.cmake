# Game disk creation: the work itself (also used by tfdata pack) and its two dialogs.
add_library(shellpack STATIC ProjPackCore.cpp ProjPackCore.h)
target_include_directories(shellpack PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(shellpack PUBLIC platform storage Qt6::Core)

target_sources(shell PRIVATE ProjPack.cpp ProjPack.h ProjDiskPath.cpp ProjDiskPath.h)
target_link_libraries(shell PUBLIC shellpack)
