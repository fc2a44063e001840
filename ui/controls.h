// One-line typed views over control handles; they own nothing, the Form
// that created the control does.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Text in a code page: CP_UTF8 for our own logic, CP_ACP for the ANSI
// functions of the system. Characters the code page lacks become its default.
std::string Narrow(std::wstring_view text, UINT codePage);
inline std::string ToUtf8(std::wstring_view text) { return Narrow(text, CP_UTF8); }
inline std::string ToAnsi(std::wstring_view text) { return Narrow(text, CP_ACP); }
// Text in the ANSI code page character for character, or nothing when a
// character has no exact equivalent there (no best-fit look-alike, no
// default character).
std::optional<std::string> ToAnsiExact(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

class Control {
 public:
  explicit Control(HWND hwnd) : hwnd_(hwnd) {}
  HWND hWnd() const { return hwnd_; }
  std::wstring Text() const;
  void SetText(std::wstring_view text) const;
  bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
  void SetEnabled(bool enabled) const { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
  void SetFocus() const;
  void SetTabStop(bool on) const;

 private:
  HWND hwnd_;
};

using TextBox = Control;
using Button = Control;
using Label = Control;

}  // namespace ui
