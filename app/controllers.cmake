# The controllers, the start-up and main loop, the headless driver's script runner and the
# program itself.
add_library(gs_controllers STATIC AppController.cpp PumpController.cpp
  DimensionLineController.cpp GasSeparatorController.cpp)
target_include_directories(gs_controllers PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(gs_controllers PUBLIC gs_views gs_core gs_tags gs_log)

find_package(yaml-cpp REQUIRED)
add_library(gs_app STATIC Application.cpp ScriptDriver.cpp StateDump.cpp)
target_link_libraries(gs_app PUBLIC gs_controllers PRIVATE yaml-cpp)

add_executable(gas-separator main.cpp)
target_link_libraries(gas-separator PRIVATE gs_app gs_platform_qt)
