// Plays a user against the shipped Quadsum.exe from another process: real
// keystrokes through the system's input queue, the real resolver and message
// box, the program's exit code. One ok or FAIL line per check; exit code 0
// only when every check held.
//
//   e2e_driver <Quadsum.exe> <host> [<address>...]   (no address: the lookup fails)
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resource_ids.h"

namespace {

// Only against hangs: a cold Wine start and the resolver's retries are slow.
constexpr DWORD kWaitMs = 30000;
int failures = 0;

bool Check(bool held, const std::wstring& what) {
  std::printf("%s: %ls\n", held ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  failures += held ? 0 : 1;
  return held;
}

bool WaitUntil(const std::function<bool()>& condition) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(50)) {
    if (GetTickCount() - start > kWaitMs) return false;
  }
  return true;
}

// By message with a timeout: the window's thread blocks while it resolves.
std::wstring TextOf(HWND window) {
  wchar_t text[1024];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                           2000, &length)) {
    return L"(no answer)";
  }
  return std::wstring(text, length);
}

// Waits for the window to read as expected; a FAIL line shows what it read.
void ExpectText(HWND window, const std::wstring& expected, const std::wstring& what) {
  std::wstring actual;
  const bool held = WaitUntil([&] { return (actual = TextOf(window)) == expected; });
  Check(held, what + L" reads \"" + expected + (held ? L"\"" : L"\", not \"" + actual + L"\""));
}

bool HasFocus(HWND control) {
  GUITHREADINFO info{sizeof(info)};
  return WaitUntil([&] {
    GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &info);
    return info.hwndFocus == control;
  });
}

bool Front(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == window; });
}

// Keys pressed and released in one batch: control characters and the blank
// as the virtual keys of the same code (Backspace, Enter, Esc, Tab, Space),
// everything else as Unicode characters.
void Keys(std::wstring_view keys) {
  std::vector<INPUT> inputs;
  for (wchar_t c : keys) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT in{INPUT_KEYBOARD};
      const bool virtualKey = c <= L' ';
      in.ki.wVk = virtualKey ? c : 0;
      in.ki.wScan = virtualKey ? static_cast<WORD>(MapVirtualKeyW(c, MAPVK_VK_TO_VSC)) : c;
      in.ki.dwFlags = up | (virtualKey ? 0 : KEYEVENTF_UNICODE);
      inputs.push_back(in);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Quadsum.exe started afresh, its main window in front with the focus in the
// address box (main stays null otherwise); killed at the end if still running.
struct Program {
  PROCESS_INFORMATION process{};
  HWND main = nullptr;

  explicit Program(const wchar_t* exe) {
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"";
    STARTUPINFOW startup{sizeof(startup)};
    if (!Check(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process), L"Quadsum.exe starts")) {
      return;
    }
    const HWND window = WaitWindow(L"Quadsum");
    if (Check(window && Front(window) && HasFocus(GetDlgItem(window, IDC_MAIN_TEXT1)),
              L"its window comes to the front with the focus in the address box")) {
      main = window;
    }
  }
  ~Program() {
    if (!process.hProcess) return;
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }

  // A visible top-level window of the program with this caption (and class).
  HWND WaitWindow(const wchar_t* caption, const wchar_t* className = nullptr) const {
    HWND found = nullptr;
    WaitUntil([&] {
      for (HWND w = GetTopWindow(nullptr); w && !found; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD pid = 0;
        wchar_t name[64] = {};
        GetWindowThreadProcessId(w, &pid);
        GetClassNameW(w, name, 64);
        if (pid == process.dwProcessId && IsWindowVisible(w) && TextOf(w) == caption &&
            (!className || std::wstring_view(name) == className)) {
          found = w;
        }
      }
      return found != nullptr;
    });
    return found;
  }

  void ExpectExit(const std::wstring& after) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, kWaitMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &code);
    }
    Check(code == 0, L"after " + after + L" the program ends with exit code 0 (" +
                         (code == STILL_ACTIVE ? L"still running" : std::to_wstring(code)) + L")");
  }
};

// Typing filters and converts; Tab and Space open the lookup dialog, where
// the host is looked up; Esc closes it, and WM_CLOSE the program.
void Run(const wchar_t* exe, const std::wstring& host, const std::wstring& list) {
  Program quadsum(exe);
  if (!quadsum.main) return;
  // Letters and signs are dropped, 7 would be a 16th character.
  Keys(L"1a9-2.168.X0.e1\b25599" L"7\b8");
  ExpectText(GetDlgItem(quadsum.main, IDC_MAIN_TEXT1), L"192.168.0.25598", L"the address box");
  ExpectText(GetDlgItem(quadsum.main, IDC_MAIN_TEXT2), L"3232261118", L"the integer box");
  Keys(L"\t ");  // Tab to "...", Space presses it
  const HWND dialog = quadsum.WaitWindow(L"Reverse DNS Lookup");
  if (!Check(dialog && HasFocus(GetDlgItem(dialog, IDC_LOOKUP_TEXT1)),
             L"Tab and Space open the lookup dialog with the focus in the host box")) {
    return;
  }
  Keys(host + L"\r");  // the default button, Lookup
  if (list.empty()) {
    const HWND box = quadsum.WaitWindow(L"Quadsum", L"#32770");
    if (!Check(box != nullptr, L"a message box \"Quadsum\" shows")) return;
    ExpectText(GetDlgItem(box, 0xFFFF), L"Error looking up requested host.", L"its text");
    Check(GetWindow(box, GW_OWNER) == dialog, L"the message box is owned by the dialog");
    Check(IsWindowVisible(GetDlgItem(box, IDOK)) && !GetDlgItem(box, IDCANCEL), L"its only button is OK");
    Check(Front(box), L"the message box is in front");
    Keys(L"\r");
    Check(WaitUntil([&] { return !IsWindow(box); }), L"Enter closes the message box");
  }
  ExpectText(GetDlgItem(dialog, IDC_LOOKUP_TEXT2), list, L"the address list");
  Check(Front(dialog) && HasFocus(GetDlgItem(dialog, IDOK)), L"the dialog is in front, Lookup focused");
  Keys(L"\x1b");  // Esc, the cancel button: Close
  Check(WaitUntil([&] { return !IsWindow(dialog); }), L"Esc closes the dialog");
  PostMessageW(quadsum.main, WM_CLOSE, 0, 0);
  quadsum.ExpectExit(L"WM_CLOSE");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: e2e_driver <Quadsum.exe> <host> [<address>...]\n", stderr);
    return 2;
  }
  std::wstring list;  // one address a line: CR LF between, none after the last
  for (int i = 3; i < argc; ++i) list += (i > 3 ? L"\r\n" : L"") + std::wstring(argv[i]);
  Run(argv[1], argv[2], list);
  std::printf("%s: %d failed check(s)\n", failures ? "FAILED" : "PASSED", failures);
  return failures ? 1 : 0;
}
