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
  const auto sent = SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                                        SMTO_NORMAL, 2000, &length);
  return sent ? std::wstring(text, length) : L"(no answer)";
}

// Waits for the window to read as expected; a FAIL line shows what it read.
void ExpectText(HWND window, const std::wstring& expected, const std::wstring& what) {
  std::wstring actual;
  const bool held = WaitUntil([&] { return (actual = TextOf(window)) == expected; });
  Check(held, what + L" reads \"" + expected + (held ? L"\"" : L"\", not \"" + actual + L"\""));
}

// Whether the window comes to the front, with the focus on the control.
bool Front(HWND window, HWND focus) {
  SetForegroundWindow(window);
  GUITHREADINFO info{sizeof(info)};
  return WaitUntil([&] {
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return GetForegroundWindow() == window && info.hwndFocus == focus;
  });
}

// A visible top-level window; the test prefix runs no other program's.
HWND WaitWindow(const wchar_t* className, const wchar_t* caption) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowW(className, caption)) && IsWindowVisible(found); });
  return found;
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

// Typing filters and converts; Tab and Space open the lookup dialog, where
// the host is looked up; Esc closes it, and WM_CLOSE ends the program.
void Run(PROCESS_INFORMATION& quadsum, const std::wstring& host, const std::wstring& list) {
  const HWND main = WaitWindow(L"QuadsumForm", L"Quadsum");
  if (!Check(main && Front(main, GetDlgItem(main, IDC_MAIN_TEXT1)), L"Quadsum shows, address box focused")) return;
  Keys(L"1a9-2.168.X0.e1\b25599" L"7\b8");  // letters and signs dropped, 7 a 16th character
  ExpectText(GetDlgItem(main, IDC_MAIN_TEXT1), L"192.168.0.25598", L"the address box");
  ExpectText(GetDlgItem(main, IDC_MAIN_TEXT2), L"3232261118", L"the integer box");
  Keys(L"\t ");  // Tab to "...", Space presses it
  const HWND dialog = WaitWindow(L"QuadsumForm", L"Reverse DNS Lookup");
  if (!Check(dialog && Front(dialog, GetDlgItem(dialog, IDC_LOOKUP_TEXT1)), L"the dialog shows, host box focused")) {
    return;
  }
  Keys(host + L"\r");  // the default button, Lookup
  if (list.empty()) {
    const HWND box = WaitWindow(L"#32770", L"Quadsum");
    if (!Check(box && Front(box, GetDlgItem(box, IDOK)), L"a message box \"Quadsum\" shows, OK focused")) return;
    ExpectText(GetDlgItem(box, 0xFFFF), L"Error looking up requested host.", L"its text");
    Check(GetWindow(box, GW_OWNER) == dialog && !GetDlgItem(box, IDCANCEL), L"owned by the dialog, no Cancel");
    Keys(L"\r");
    Check(WaitUntil([&] { return !IsWindow(box); }), L"Enter closes the message box");
  }
  ExpectText(GetDlgItem(dialog, IDC_LOOKUP_TEXT2), list, L"the address list");
  Check(Front(dialog, GetDlgItem(dialog, IDOK)), L"the dialog is in front, Lookup focused");
  Keys(L"\x1b");  // Esc, the cancel button: Close
  Check(WaitUntil([&] { return !IsWindow(dialog); }), L"Esc closes the dialog");
  PostMessageW(main, WM_CLOSE, 0, 0);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(quadsum.hProcess, kWaitMs) == WAIT_OBJECT_0) GetExitCodeProcess(quadsum.hProcess, &code);
  Check(code == 0, L"WM_CLOSE ends the program with exit code 0 (" +
                       (code == STILL_ACTIVE ? L"still running" : std::to_wstring(code)) + L")");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: e2e_driver <Quadsum.exe> <host> [<address>...]\n", stderr);
    return 2;
  }
  std::wstring list;  // one address a line: CR LF between, none after the last
  for (int i = 3; i < argc; ++i) list += (i > 3 ? L"\r\n" : L"") + std::wstring(argv[i]);
  std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION quadsum{};
  if (Check(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &quadsum), L"Quadsum.exe starts")) {
    Run(quadsum, argv[2], list);
    TerminateProcess(quadsum.hProcess, 1);  // a failed run leaves no window behind
    WaitForSingleObject(quadsum.hProcess, 5000);
  }
  std::printf("%s: %d failed check(s)\n", failures ? "FAILED" : "PASSED", failures);
  return failures ? 1 : 0;
}
