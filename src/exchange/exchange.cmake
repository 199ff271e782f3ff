# The export file format (core) and the import/export progress dialog (UI).
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/clsExportFile.h
  ${CMAKE_CURRENT_LIST_DIR}/clsExportFile.cpp)
if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmImpExp.h
    ${CMAKE_CURRENT_LIST_DIR}/frmImpExp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmImpExp.ui)
endif()
