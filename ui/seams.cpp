#include "ui/seams.h"

#include <shellapi.h>

#include "ui/handles.h"

namespace ui {
namespace {

constexpr wchar_t kAppTitle[] = L"Quadsum";

Seams RealSeams() {
  Seams s;
  s.messageBox = [](std::wstring_view text, MessageIcon icon) {
    const std::wstring copy(text);
    const UINT style = MB_OK | (icon == MessageIcon::Warning ? MB_ICONWARNING : 0);
    // Owned by the active window so the box is modal to the dialog that
    // asked; MB_TASKMODAL covers the case where none of ours is active.
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, copy.c_str(), kAppTitle, style | (owner ? 0 : MB_TASKMODAL));
  };
  s.shellExecute = [](HWND owner, const char* operation, const char* file,
                      const char* parameters, const char* directory, int show) {
    static const ModulePtr shell32 = LoadSystemLibrary(L"shell32.dll");
    static const auto shellExecute = ModuleFunction<decltype(&ShellExecuteA)>(shell32.get(), "ShellExecuteA");
    if (shellExecute) shellExecute(owner, operation, file, parameters, directory, show);
  };
  s.endProgram = [] { PostQuitMessage(0); };
  return s;
}

}  // namespace

Seams& seams() {
  static Seams instance = RealSeams();
  return instance;
}

void ShowMessage(std::wstring_view text, MessageIcon icon) {
  seams().messageBox(text, icon);
}

}  // namespace ui
