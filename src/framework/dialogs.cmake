# Message dialogs, the enciphered texts and the application-wide error handler.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLExceptions.h
  ${CMAKE_CURRENT_LIST_DIR}/SLMessages.h
  ${CMAKE_CURRENT_LIST_DIR}/SLMessages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SLCipher.h
  ${CMAKE_CURRENT_LIST_DIR}/SLCipher.cpp)
if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SLMsgFrm.h
    ${CMAKE_CURRENT_LIST_DIR}/SLMsgFrm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SLMsgDetailsFrm.h
    ${CMAKE_CURRENT_LIST_DIR}/SLMsgDetailsFrm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SLDialogCommon.h
    ${CMAKE_CURRENT_LIST_DIR}/SLDialogCommon.cpp)
endif()
if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SLAppEvents.h
    ${CMAKE_CURRENT_LIST_DIR}/SLAppEvents.cpp)
endif()
