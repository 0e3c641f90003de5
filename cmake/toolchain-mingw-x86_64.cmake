# A 64-bit build of the same sources, for machines whose Wine cannot run
# 32-bit programs (see docs/testing.md).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_prefix x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
