# Windows on x86_64, posix thread model: the test trees.
set(QUADSUM_WINDOWS_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
