# The main window: tree and preview, commands, tray and window behaviour.
target_sources(vellumin_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/frmMain.h
  ${CMAKE_CURRENT_LIST_DIR}/frmMain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frmMain.ui
  ${CMAKE_CURRENT_LIST_DIR}/ItemsTree.h
  ${CMAKE_CURRENT_LIST_DIR}/ItemsTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clsClipboard.h
  ${CMAKE_CURRENT_LIST_DIR}/SLVCLUtils.h
  ${CMAKE_CURRENT_LIST_DIR}/SLVCLUtils.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainDialogs.h
  ${CMAKE_CURRENT_LIST_DIR}/MainCommands.h
  ${CMAKE_CURRENT_LIST_DIR}/MainCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/images.qrc)
