# What a Windows user downloads: the installer Vellumin-<version>-Setup.exe
# (NSIS: makensis, packaging/windows/kvlmn.nsi) and the plain archive
# Vellumin-<version>-win64.zip, both in the top of the build folder, each
# holding kvlmn.exe, kvlmn.tip and kvlmn.chm.
#   cmake --build <windows build> --target windows_packages
find_program(VELLUMIN_MAKENSIS makensis REQUIRED)
set(package_base ${PROJECT_BINARY_DIR}/Vellumin-${PROJECT_VERSION})
set(package_files ${PROJECT_BINARY_DIR}/kvlmn.exe ${PROJECT_BINARY_DIR}/kvlmn.tip
  ${PROJECT_BINARY_DIR}/kvlmn.chm)
add_custom_command(OUTPUT ${package_base}-Setup.exe
  COMMAND ${VELLUMIN_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DBINDIR=${PROJECT_BINARY_DIR}
    -DOUTFILE=${package_base}-Setup.exe ${PROJECT_SOURCE_DIR}/packaging/windows/kvlmn.nsi
  DEPENDS ${package_files} ${PROJECT_SOURCE_DIR}/packaging/windows/kvlmn.nsi kvlmn kvlmn_chm
  COMMENT "Making the installer" VERBATIM)
add_custom_command(OUTPUT ${package_base}-win64.zip
  COMMAND ${CMAKE_COMMAND} -E tar cf ${package_base}-win64.zip --format=zip kvlmn.exe kvlmn.tip
    kvlmn.chm
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS ${package_files} kvlmn kvlmn_chm
  COMMENT "Making the zip archive" VERBATIM)
add_custom_target(windows_packages ALL
  DEPENDS ${package_base}-Setup.exe ${package_base}-win64.zip)
