target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/LastWindow.h
  ${CMAKE_CURRENT_LIST_DIR}/LastWindow.cpp)
