// Linked into Quadsum.exe, and into tests/logic/lean_runtime_test, which
// checks it: replaces two pieces of the static C++ runtime whose archive
// members drag in far more than they do here.
//
// libstdc++ keeps every std::__throw_* helper in one member, which brings
// along the exception classes built on its reference-counted strings, their
// string instantiations and std::random_device (about 80 KB). The program
// catches library exceptions only with catch (...) (MainForm::Text1_Change),
// so each helper here still throws, but an exception that needs none of it:
// a catch naming std::length_error or std::out_of_range (AddressList's
// operator[] documents the latter) would no longer match in this exe.
//
// The default terminate handler prints the demangled type of an uncaught
// exception to stderr, which a windowed program does not have, and links the
// demangler for it (about 45 KB). Ending the process is what it does anyway.
//
// Each replacement is defined by its qualified name against the library's
// own declaration, so a signature that changes in a newer library stops the
// build here rather than quietly linking the library's member again; the
// build also checks the link map for those members (cmake/check_lean_runtime.cmake).
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace {

class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

[[noreturn]] void std::__throw_bad_alloc() { throw bad_alloc(); }
[[noreturn]] void std::__throw_bad_array_new_length() { throw bad_array_new_length(); }
[[noreturn]] void std::__throw_length_error(const char* what) { throw LibraryError(what); }
[[noreturn]] void std::__throw_logic_error(const char* what) { throw LibraryError(what); }
[[noreturn]] void std::__throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }

void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }
