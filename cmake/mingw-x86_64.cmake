# Cross-compiles for 64-bit Windows: the same program for hosts that cannot run 32-bit ones,
# where only Wine's 64-bit loader starts Windows programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
