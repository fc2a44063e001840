# Windows on i686, posix thread model: the test trees.
set(QUADSUM_WINDOWS_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
