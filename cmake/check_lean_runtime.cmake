# cmake -DMAP=<Quadsum.map> -P check_lean_runtime.cmake
# Fails when the link map shows libstdc++'s own throw helpers (functexcept.o)
# or its verbose terminate handler (vterminate.o): app/lean_runtime.cpp no
# longer replaces them, and the exe has grown by what they drag in.
file(READ "${MAP}" map)
string(REGEX MATCHALL "libstdc\\+\\+\\.a\\((functexcept|vterminate)\\.o\\)" members "${map}")
if(members)
  list(REMOVE_DUPLICATES members)
  message(FATAL_ERROR "${MAP} links ${members}: app/lean_runtime.cpp no longer replaces them")
endif()
