# MinGW-w64 for x64 Windows XP / Server 2003: the win32 thread model.
set(QX_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-x64.cmake)
