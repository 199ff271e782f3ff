# Text helpers and the small file and text utilities.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLText.h
  ${CMAKE_CURRENT_LIST_DIR}/SLText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SLUtils.h
  ${CMAKE_CURRENT_LIST_DIR}/SLUtils.cpp)
