# The desktop seams on X11 (EWMH, XTest): core code, plain Xlib.
if(UNIX AND NOT APPLE)
  find_package(X11 REQUIRED)
  if(NOT X11_XTest_FOUND)
    message(FATAL_ERROR "The XTest library (libxtst-dev) is needed")
  endif()
  target_sources(vellumin_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/linux/X11Desktop.h
    ${CMAKE_CURRENT_LIST_DIR}/linux/X11Desktop.cpp)
  target_link_libraries(vellumin_core PUBLIC X11::X11 X11::Xtst)
endif()
