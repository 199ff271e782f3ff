target_sources(vellumin_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frmMain.h
  ${CMAKE_CURRENT_LIST_DIR}/frmMain.cpp)
