# The paste path wired to Qt: tracking timer, status text, tray entries,
# clipboard, and the X11 desktop seams under the xcb platform.
target_sources(vellumin_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/PasteHost.h
  ${CMAKE_CURRENT_LIST_DIR}/PasteHost.cpp)
if(UNIX AND NOT APPLE)
  target_compile_definitions(vellumin_ui PRIVATE VELLUMIN_X11)
  # The clipboard is taken with a current server time, which only Qt's own
  # connection can be given (QX11Info in Qt's private Gui headers), and the
  # take is confirmed with a selection-owner query (xcb).
  # (Qt6::GuiPrivate comes with the Gui package; qt6-base-private-dev holds its headers.)
  find_library(VELLUMIN_XCB_LIBRARY xcb REQUIRED)
  target_link_libraries(vellumin_ui PRIVATE Qt6::GuiPrivate ${VELLUMIN_XCB_LIBRARY})
endif()
