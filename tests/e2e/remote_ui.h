// Another process's windows seen from outside, as a user meets them: found
// by caption, read back with window messages, typed into through the
// system's input queue.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace e2e {

using Ms = std::chrono::milliseconds;

// Polls until the condition holds; false when the time ran out first.
bool WaitUntil(const std::function<bool()>& condition, Ms timeout);

// The program under test, started from its path (Unix paths are accepted
// under Wine). Killed on destruction if still running, so a failed run
// leaves no window behind.
class Program {
 public:
  explicit Program(const std::wstring& path);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  // The exit code once the program has ended; nullopt if still running.
  std::optional<DWORD> WaitExit(Ms timeout);

 private:
  PROCESS_INFORMATION info_{};
};

// A visible top-level window of the process with exactly this caption, of
// the given window class if one is named; nullptr when there is none.
HWND FindTopLevel(DWORD pid, std::wstring_view caption, const wchar_t* className = nullptr);
HWND WaitTopLevel(DWORD pid, std::wstring_view caption, const wchar_t* className, Ms timeout);

// The window's text through WM_GETTEXT; nullopt when its thread does not
// answer in time (it may be blocked in a lookup).
std::optional<std::wstring> TextOf(HWND window);
// The window with the keyboard focus in the thread that owns this window.
HWND FocusOf(HWND window);
// Makes the window the foreground window, where keyboard input goes.
bool BringToFront(HWND window);

// Real keystrokes: each character as a Unicode key press and release.
void TypeText(std::wstring_view text);
// Presses and releases a virtual key, the given number of times.
void PressKey(WORD vk, int times = 1);

std::string Utf8(std::wstring_view text);
// Text for reports: quoted, with CR, LF and backslash escaped.
std::string Quoted(const std::optional<std::wstring>& text);

}  // namespace e2e
