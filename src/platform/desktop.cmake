# The desktop seams of the paste path (window system, key input, clipboard).
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Desktop.h
  ${CMAKE_CURRENT_LIST_DIR}/Desktop.cpp)
