# Window rules and the preferences record.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLRules.h
  ${CMAKE_CURRENT_LIST_DIR}/SLRules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clsOptions.h
  ${CMAKE_CURRENT_LIST_DIR}/clsOptions.cpp)
