# LibraryChanged and BuildTree of the main window against a flat file of the same library.
if(TARGET vellumin_ui)
  add_executable(mainwindow_bench ${CMAKE_CURRENT_LIST_DIR}/MainWindowBench.cpp)
  target_link_libraries(mainwindow_bench PRIVATE vellumin_ui benchmark::benchmark)
endif()
