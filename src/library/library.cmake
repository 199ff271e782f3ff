target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLList.h
  ${CMAKE_CURRENT_LIST_DIR}/SLRegistry.h
  ${CMAKE_CURRENT_LIST_DIR}/SLRegistry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clsLibrary.h
  ${CMAKE_CURRENT_LIST_DIR}/clsLibrary.cpp)
