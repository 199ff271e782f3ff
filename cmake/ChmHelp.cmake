# The compiled help file kvlmn.chm beside the Windows program, made from the
# same HTML pages as the Linux help folder with chmcmd (Debian fp-utils).
# Every page context-N.html is the topic of help context N: the project's
# [MAP] and [ALIAS] sections give HtmlHelp's HH_HELP_CONTEXT its table, and
# index.html is the default topic (context 0). The program opens the file in
# its "MainWindow" window type.
#   vellumin_add_chm(PAGES <files...> OUTPUT <chm path>)
function(vellumin_add_chm)
  cmake_parse_arguments(arg "" "OUTPUT" "PAGES" ${ARGN})
  find_program(VELLUMIN_CHMCMD chmcmd REQUIRED)
  if(VELLUMIN_LANGUAGE STREQUAL "PortugueseBrazil")
    set(language "0x416 Portuguese (Brazil)")
    set(title "Ajuda do Kestrelay Vellumin")
  else()
    set(language "0x409 English (United States)")
    set(title "Kestrelay Vellumin Help")
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/kvlmn-chm)
  set(files "")
  set(aliases "")
  set(map "")
  set(copies "")
  foreach(page IN LISTS arg_PAGES)
    get_filename_component(name ${page} NAME)
    string(APPEND files "${name}\n")
    list(APPEND copies ${dir}/${name})
    if(name MATCHES "^context-([0-9]+)\\.html$")
      string(APPEND aliases "IDH_${CMAKE_MATCH_1}=${name}\n")
      string(APPEND map "#define IDH_${CMAKE_MATCH_1} ${CMAKE_MATCH_1}\n")
    endif()
  endforeach()
  file(CONFIGURE OUTPUT ${dir}/kvlmn.hhp CONTENT "[OPTIONS]
Compatibility=1.1 or later
Compiled file=kvlmn.chm
Default topic=index.html
Default Window=MainWindow
Language=${language}
Title=${title}

[WINDOWS]
MainWindow=\"${title}\",,,\"index.html\",\"index.html\",,,,,0x2520,,0x300e,,,,,,,,0

[FILES]
${files}
[ALIAS]
${aliases}
[MAP]
${map}")
  add_custom_command(OUTPUT ${arg_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E copy ${arg_PAGES} ${dir}
    COMMAND ${VELLUMIN_CHMCMD} kvlmn.hhp
    COMMAND ${CMAKE_COMMAND} -E copy kvlmn.chm ${arg_OUTPUT}
    WORKING_DIRECTORY ${dir}
    DEPENDS ${arg_PAGES} ${dir}/kvlmn.hhp
    COMMENT "Compiling the help file kvlmn.chm" VERBATIM)
  add_custom_target(kvlmn_chm ALL DEPENDS ${arg_OUTPUT})
endfunction()
