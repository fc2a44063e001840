// A system DLL loaded on first use instead of at process start, where each
// one lengthens the time until the window shows, and released when the
// program ends. Loaded from the system directory only, never from beside the
// exe.
#pragma once

#include <windows.h>

namespace ui {

class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name)
      : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
  ~SystemLibrary() {
    if (module_) FreeLibrary(module_);
  }
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The named export with the type of its declaration, e.g.
  // Get<decltype(ShellExecuteA)>("ShellExecuteA"); nullptr when missing.
  template <class Function>
  Function* Get(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

}  // namespace ui
