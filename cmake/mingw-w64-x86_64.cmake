# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
# The "-posix" compilers are the ones with std::thread and std::mutex; the
# win32-thread variant lacks them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELLUMIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELLUMIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELLUMIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VELLUMIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VELLUMIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: no libstdc++, libgcc or winpthread DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine when CTest runs them from the build host.
find_program(VELLUMIN_WINE wine)
if(VELLUMIN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VELLUMIN_WINE})
endif()
