# The shipped program: 32-bit Windows, MinGW-w64 with posix threads.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
