// Owners for the GDI objects, icons, device contexts and DLLs a window uses,
// so that releasing one is a reset and no handler calls a release function.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace ui {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

struct ModuleDeleter {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};

using FontPtr = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BrushPtr = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using IconPtr = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
// One LoadLibrary reference.
using ModulePtr = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// A system DLL loaded on first use rather than at process start, where each
// one lengthens the time until the window shows. From the system directory
// only, never from beside the exe, where a planted copy could stand in.
inline ModulePtr LoadSystemLibrary(const wchar_t* name) {
  return ModulePtr(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

// A function of a DLL looked up at run time, typed; null where it is missing.
template <class F>
F ModuleFunction(HMODULE module, const char* name) {
  const auto raw = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(raw));
}

// A window's DC (the screen's for null) for one scope.
class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedGetDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace ui
