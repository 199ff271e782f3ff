target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLApplication.h
  ${CMAKE_CURRENT_LIST_DIR}/SLApplication.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Strings.h
  ${CMAKE_CURRENT_LIST_DIR}/Strings.def
  ${CMAKE_CURRENT_LIST_DIR}/Strings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Startup.h
  ${CMAKE_CURRENT_LIST_DIR}/Startup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartupTrace.h
  ${CMAKE_CURRENT_LIST_DIR}/StartupTrace.cpp)
