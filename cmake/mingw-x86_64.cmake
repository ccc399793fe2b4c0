# Cross-compiles the Windows build: 64-bit Win32 (x86-64) with MinGW-w64, the main build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
