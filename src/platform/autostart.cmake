# The start-with-system entry: the seam, the Run-value implementation and, on
# Linux, the XDG autostart entry that serves as the default there.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AutoStart.h
  ${CMAKE_CURRENT_LIST_DIR}/AutoStart.cpp)
if(NOT WIN32)
  target_sources(vellumin_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/linux/XdgAutoStart.h
    ${CMAKE_CURRENT_LIST_DIR}/linux/XdgAutoStart.cpp)
endif()
