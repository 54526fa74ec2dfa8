# Cross build of the Windows program with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
# The -posix compilers: their C++ runtime has std::thread and std::mutex (the
# tests use them through GoogleTest); -static links that runtime in.
#   cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DLUMISTRA_WINDOWS_ONLY=ON
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUMISTRA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMISTRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMISTRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMISTRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMISTRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
