# The platform seams on Windows: the system registry, the named mutex, the
# version resource, the desktop of the paste path, the launchers, Simple MAPI
# and HTML Help. Core code, plain Win32.
if(WIN32)
  target_sources(vellumin_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Registry.h
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Registry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/SingleInstanceWin32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/VersionInfoWin32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Desktop.h
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Desktop.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Launcher.h
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Launcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Mail.h
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Mail.cpp
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Help.h
    ${CMAKE_CURRENT_LIST_DIR}/windows/Win32Help.cpp)
  target_link_libraries(vellumin_core PUBLIC advapi32 version user32 shell32)

  # Every program that links the core (the program, its tests and helpers)
  # carries the manifest that makes UTF-8 its ANSI code page, so the narrow
  # strings of the core and the A functions agree.
  set(manifest_rc ${CMAKE_CURRENT_BINARY_DIR}/Utf8Manifest.rc)
  file(CONFIGURE OUTPUT ${manifest_rc}
    CONTENT "1 24 \"${CMAKE_CURRENT_LIST_DIR}/windows/Utf8.manifest\"\n")
  add_library(vellumin_manifest OBJECT ${manifest_rc})
  set_source_files_properties(${manifest_rc} PROPERTIES
    OBJECT_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/windows/Utf8.manifest)
  target_sources(vellumin_core INTERFACE $<TARGET_OBJECTS:vellumin_manifest>)

  set(VELLUMIN_VERSION_RC_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/windows/VersionResource.rc.in
      CACHE INTERNAL "")

  # vellumin_add_version_resource(<target> [LANGUAGE English|PortugueseBrazil]
  #                               [NO_COPYRIGHT])
  # Gives the target's program file a version resource: the project version
  # with VELLUMIN_BUILD_NUMBER as file version, one string table in code page
  # 1252 for the language (the build's message language by default).
  function(vellumin_add_version_resource target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "NO_COPYRIGHT" "LANGUAGE" "")
    if(NOT arg_LANGUAGE)
      set(arg_LANGUAGE ${VELLUMIN_LANGUAGE})
    endif()
    if(arg_LANGUAGE STREQUAL "PortugueseBrazil")
      set(VLMN_RC_LANGUAGE 0x0416)
      set(VLMN_RC_TABLE 041604E4)
    else()
      set(VLMN_RC_LANGUAGE 0x0409)
      set(VLMN_RC_TABLE 040904E4)
    endif()
    set(VLMN_RC_MAJOR ${PROJECT_VERSION_MAJOR})
    set(VLMN_RC_MINOR ${PROJECT_VERSION_MINOR})
    set(VLMN_RC_PATCH ${PROJECT_VERSION_PATCH})
    set(VLMN_RC_BUILD ${VELLUMIN_BUILD_NUMBER})
    if(arg_NO_COPYRIGHT)
      set(VLMN_RC_COPYRIGHT_LINE "")
    else()
      # \251 is the copyright sign in code page 1252.
      set(VLMN_RC_COPYRIGHT_LINE "      VALUE \"LegalCopyright\", \"Copyright \\251 2026 Kestrelay\\0\"")
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${VELLUMIN_VERSION_RC_TEMPLATE} ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
  endfunction()

  # The program (defined after the subsystems) gets the block and is a GUI
  # program without a console window.
  if(VELLUMIN_BUILD_UI)
    function(vellumin_windows_program)
      if(TARGET kvlmn)
        vellumin_add_version_resource(kvlmn)
        set_target_properties(kvlmn PROPERTIES WIN32_EXECUTABLE ON)
      endif()
    endfunction()
    cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR}/src CALL vellumin_windows_program)
  endif()
endif()
