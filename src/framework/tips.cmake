# Tip of the day, with the tip file shipped beside the program.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLTips.h
  ${CMAKE_CURRENT_LIST_DIR}/SLTips.cpp)
if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SLTipOfTheDay.h
    ${CMAKE_CURRENT_LIST_DIR}/SLTipOfTheDay.cpp)
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/kvlmn.tip ${PROJECT_BINARY_DIR}/kvlmn.tip COPYONLY)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/kvlmn.tip DESTINATION bin)
