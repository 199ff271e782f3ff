if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/VLMNApp.h
    ${CMAKE_CURRENT_LIST_DIR}/VLMNApp.cpp)
endif()
