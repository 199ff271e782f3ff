# Start-up, tray menu and memory of the program on a desktop with a tray,
# against a bare Qt tray program of the same menu shape (scripts/bench-tray).
if(UNIX AND NOT APPLE AND TARGET vellumin_core)
  find_package(X11 QUIET)
  if(X11_FOUND AND X11_XTest_FOUND)
    add_executable(tray_bench ${CMAKE_CURRENT_LIST_DIR}/tray/TrayBench.cpp)
    target_include_directories(tray_bench PRIVATE ${X11_INCLUDE_DIR} ${X11_XTest_INCLUDE_PATH})
    target_link_libraries(tray_bench PRIVATE ${X11_X11_LIB} ${X11_XTest_LIB})
  endif()

  if(TARGET vellumin_ui)
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    add_executable(bare_tray ${CMAKE_CURRENT_LIST_DIR}/tray/BareTray.cpp)
    target_link_libraries(bare_tray PRIVATE Qt6::Widgets)
  endif()
endif()
