# The paste path wired to Qt: tracking timer, status text, tray entries,
# clipboard, and the X11 desktop seams under the xcb platform.
target_sources(vellumin_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PasteHost.h
  ${CMAKE_CURRENT_LIST_DIR}/PasteHost.cpp)
if(UNIX AND NOT APPLE)
  target_compile_definitions(vellumin_ui PRIVATE VELLUMIN_X11)
endif()
