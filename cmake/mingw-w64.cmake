# Cross toolchain: Windows with mingw-w64, for the processor in
# QUADSUM_WINDOWS_ARCH (i686, what ships; or x86_64), set by the including
# toolchain file. The thread model is posix unless that file chose another:
# the test framework needs posix for std::mutex.
if(NOT DEFINED QUADSUM_THREAD_MODEL)
  set(QUADSUM_THREAD_MODEL posix)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUADSUM_WINDOWS_ARCH})
set(TOOLCHAIN_PREFIX ${QUADSUM_WINDOWS_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-${QUADSUM_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-${QUADSUM_THREAD_MODEL})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the Windows test programs through Wine: the 64-bit loader for
# x86-64 programs, which also starts on hosts that refuse 32-bit code.
# Debian keeps the 64-bit loader out of PATH, in /usr/lib/wine.
if(QUADSUM_WINDOWS_ARCH STREQUAL "x86_64")
  find_program(QUADSUM_WINE64 wine64 HINTS /usr/lib/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUADSUM_WINE64})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR wine)
  # IEEE double arithmetic in SSE2 registers, as on the native build: the
  # x87 unit's 80-bit intermediates would round some sums differently.
  # x86-64 always computes in SSE2.
  set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
  set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
endif()
