# Splash, about box, help, the launchers and the keys every dialog answers.
target_sources(vellumin_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SLLauncher.h
  ${CMAKE_CURRENT_LIST_DIR}/SLLauncher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SLHelp.h
  ${CMAKE_CURRENT_LIST_DIR}/SLHelp.cpp)
if(VELLUMIN_BUILD_UI)
  target_sources(vellumin_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SLDialogKeys.h
    ${CMAKE_CURRENT_LIST_DIR}/SLDialogKeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SLDesktopLauncher.h
    ${CMAKE_CURRENT_LIST_DIR}/SLDesktopLauncher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SLSplashFrm2.h
    ${CMAKE_CURRENT_LIST_DIR}/SLSplashFrm2.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SLAboutFrm2.h
    ${CMAKE_CURRENT_LIST_DIR}/SLAboutFrm2.cpp)
endif()

# The help pages, one per help context, beside the program in kvlmn-help/.
file(GLOB vellumin_help_pages CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/help/*)
foreach(page IN LISTS vellumin_help_pages)
  get_filename_component(page_name ${page} NAME)
  configure_file(${page} ${PROJECT_BINARY_DIR}/kvlmn-help/${page_name} COPYONLY)
endforeach()
install(FILES ${vellumin_help_pages} DESTINATION bin/kvlmn-help)
if(WIN32)
  include(${PROJECT_SOURCE_DIR}/cmake/ChmHelp.cmake)
  vellumin_add_chm(PAGES ${vellumin_help_pages} OUTPUT ${PROJECT_BINARY_DIR}/kvlmn.chm)
  install(FILES ${PROJECT_BINARY_DIR}/kvlmn.chm DESTINATION bin)
endif()
