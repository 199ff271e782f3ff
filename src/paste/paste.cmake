# Key synthesis, the foreground-window tracker and the paste engine.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLKeys.h
  ${CMAKE_CURRENT_LIST_DIR}/SLKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clsTracker.h
  ${CMAKE_CURRENT_LIST_DIR}/clsTracker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clsPaste.h
  ${CMAKE_CURRENT_LIST_DIR}/clsPaste.cpp)
