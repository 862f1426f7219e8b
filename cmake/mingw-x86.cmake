# MinGW-w64 for x86 Windows. The NT 5.2 presets set QX_MINGW_THREADS to win32:
# the posix thread model links libwinpthread, which imports functions that
# Windows XP and Server 2003 do not have (GetTickCount64).
if(NOT QX_MINGW_THREADS)
  set(QX_MINGW_THREADS posix)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${QX_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${QX_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
