# What `cmake --install` adds to the program, its help pages and its tip file
# (installed by their own subsystems): the desktop entry and the program's
# icons. Then the Debian package of all of it (`cpack` in the build folder).
include(GNUInstallDirs)
if(VELLUMIN_BUILD_UI)
  install(FILES ${PROJECT_SOURCE_DIR}/src/ui/main/kvlmn.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/src/ui/main/images/kvlmn-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kvlmn.png)
  endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumin)
set(CPACK_PACKAGE_VENDOR "Kestrelay")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tray utility that types named texts into the last window")
set(CPACK_PACKAGE_CONTACT "${VELLUMIN_SUPPORT_ADDRESS}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELLUMIN_BUILD_NUMBER})
# The shared libraries the program links (Qt, SQLite, X11, XTest) become the
# package's dependencies; a desktop with a notification area is its setting.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
