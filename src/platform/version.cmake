target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Registry.h
  ${CMAKE_CURRENT_LIST_DIR}/VersionInfo.h
  ${CMAKE_CURRENT_LIST_DIR}/VersionRecord.h
  ${CMAKE_CURRENT_LIST_DIR}/VersionRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.h)
if(NOT WIN32)
  target_sources(vellumin_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/linux/VersionInfoLinux.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux/SingleInstanceLinux.cpp)
endif()
