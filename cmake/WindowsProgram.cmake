# The Windows program as part of the normal Linux build: whenever the MinGW-w64
# cross compiler is installed, this same source tree is configured a second
# time with cmake/mingw-w64-x86_64.cmake into <build>/windows, where only the
# core and lumistra.exe are built (plus, with the tests, the Windows test
# programs that run under Wine).
#
# Sets LUMISTRA_WINDOWS_BINARY_DIR when it does.

find_program(LUMISTRA_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(NOT LUMISTRA_MINGW_CXX)
  message(STATUS "x86_64-w64-mingw32-g++-posix not found: the Windows program is not built")
  return()
endif()

include(ExternalProject)
set(LUMISTRA_WINDOWS_BINARY_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(lumistra_windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${LUMISTRA_WINDOWS_BINARY_DIR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DLUMISTRA_WINDOWS_ONLY=ON
    -DLUMISTRA_WINDOWS_TESTS=${LUMISTRA_TESTS}
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")
