# The shipped programs on i686: the win32 thread model. The program starts no
# thread, and the posix model would link winpthread and the unwinder's locks
# into it (about 30 KB of a 128 KB budget).
set(QUADSUM_WINDOWS_ARCH i686)
set(QUADSUM_THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
