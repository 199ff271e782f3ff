# The registry on Linux: one SQLite file per hive.
if(NOT WIN32)
  target_sources(vellumin_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/linux/SqliteHive.cpp
    ${CMAKE_CURRENT_LIST_DIR}/linux/SqliteHive.h
    ${CMAKE_CURRENT_LIST_DIR}/linux/RegistryDefault.cpp)
endif()
