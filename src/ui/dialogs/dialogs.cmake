# The program's dialogs: item editor, target-folder chooser, search,
# preferences, the rule and key editors, and the Qt key to virtual-key table.
if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DialogParts.h
    ${CMAKE_CURRENT_LIST_DIR}/DialogParts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmEditItemDlg.h
    ${CMAKE_CURRENT_LIST_DIR}/frmEditItemDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmEditItemDlg.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmCopyToDlg.h
    ${CMAKE_CURRENT_LIST_DIR}/frmCopyToDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmCopyToDlg.ui
    ${CMAKE_CURRENT_LIST_DIR}/SLKeyMap.h
    ${CMAKE_CURRENT_LIST_DIR}/SLKeyMap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SLHotKeyEdit.h
    ${CMAKE_CURRENT_LIST_DIR}/SLHotKeyEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SLButtonEdit.h
    ${CMAKE_CURRENT_LIST_DIR}/SLButtonEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RuleDialogs.h
    ${CMAKE_CURRENT_LIST_DIR}/RuleDialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmTracking.h
    ${CMAKE_CURRENT_LIST_DIR}/frmTracking.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmTracking.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmPasting.h
    ${CMAKE_CURRENT_LIST_DIR}/frmPasting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmPasting.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmKeys.h
    ${CMAKE_CURRENT_LIST_DIR}/frmKeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmKeys.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmOptions.h
    ${CMAKE_CURRENT_LIST_DIR}/frmOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmOptions.ui
    ${CMAKE_CURRENT_LIST_DIR}/frmSearch.h
    ${CMAKE_CURRENT_LIST_DIR}/frmSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmSearch.ui
    ${CMAKE_CURRENT_LIST_DIR}/ProgramDialogs.h
    ${CMAKE_CURRENT_LIST_DIR}/ProgramDialogs.cpp)
endif()
# The search's model: plain C++.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/clsSearch.h
  ${CMAKE_CURRENT_LIST_DIR}/clsSearch.cpp)
