# Fails the build when a core source includes a Qt header. Run as
#   cmake -DSOURCES="a.cpp;b.h" -P CheckNoQt.cmake
foreach(src IN LISTS SOURCES)
  file(STRINGS "${src}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt|Qt)")
  if(lines)
    message(FATAL_ERROR "${src} is a core file and must not include Qt: ${lines}")
  endif()
endforeach()
