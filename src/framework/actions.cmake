# The action list with its idle-time enabling routine, shared by every form.
if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SLActions.h
    ${CMAKE_CURRENT_LIST_DIR}/SLActions.cpp)
endif()
# The window-placement store.
if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SLFormStorage.h
    ${CMAKE_CURRENT_LIST_DIR}/SLFormStorage.cpp)
endif()
