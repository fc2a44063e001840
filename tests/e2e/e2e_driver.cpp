// Plays a user against the shipped Quadsum.exe from another process: starts
// it, types through the system's input queue with SendInput and reads its
// windows back by message. One ok or FAIL line per check; exit code 0 only
// when every check held.
//
//   e2e_driver convert <Quadsum.exe>
//   e2e_driver lookup <Quadsum.exe> <host> [<address>...]
//
// A lookup given addresses expects exactly those listed, in that order; one
// given none expects the lookup to fail.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resource_ids.h"

namespace {

// Only against hangs: a cold Wine start and the resolver's retries are slow.
constexpr DWORD kStartMs = 20000, kStateMs = 10000, kLookupMs = 30000;
constexpr int kAddress = IDC_MAIN_TEXT1, kInteger = IDC_MAIN_TEXT2, kOpen = IDC_MAIN_COMMAND3;
constexpr int kHost = IDC_LOOKUP_TEXT1, kListToggle = IDC_LOOKUP_COMMAND3, kList = IDC_LOOKUP_TEXT2;
constexpr int kMessageText = 0xFFFF;  // the text of a message box

int failures = 0;

bool Check(bool held, const std::wstring& what) {
  std::printf("%s: %ls\n", held ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  failures += held ? 0 : 1;
  return held;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kStateMs) {
  for (const DWORD start = GetTickCount(); !condition(); Sleep(50)) {
    if (GetTickCount() - start > timeoutMs) return false;
  }
  return true;
}

// By message with a timeout: the window's thread blocks while it resolves.
std::optional<std::wstring> TextOf(HWND window) {
  wchar_t text[1024];
  DWORD_PTR length = 0;
  if (!window || !SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                                      SMTO_NORMAL, 2000, &length)) {
    return std::nullopt;
  }
  return std::wstring(text, length);
}

std::wstring Quoted(const std::optional<std::wstring>& text) {
  if (!text) return L"(no answer)";
  std::wstring out = L"\"";
  for (wchar_t c : *text) {
    out += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : c == L'\b' ? L"\\b" : std::wstring(1, c);
  }
  return out + L"\"";
}

// Waits for the window to read as expected; a FAIL line shows what it read.
bool Expect(const std::function<HWND()>& window, const std::wstring& expected,
            const std::wstring& what, DWORD timeoutMs = kStateMs) {
  std::optional<std::wstring> actual;
  const bool held = WaitUntil([&] { return (actual = TextOf(window())) == expected; }, timeoutMs);
  return Check(held, what + L": expected " + Quoted(expected) +
                         (held ? L"" : L", actual " + Quoted(actual)));
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

bool Front(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == window; });
}

// Keys pressed and released in one batch. Control characters and the blank
// go as the virtual keys with the same code (Backspace, Tab, Enter, Esc,
// Space), everything else as Unicode characters.
void Keys(std::wstring_view keys) {
  std::vector<INPUT> inputs;
  for (wchar_t c : keys) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
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
// address box (main stays null otherwise). Killed at the end if still
// running, so a failed run leaves no window behind.
struct Program {
  PROCESS_INFORMATION process{};
  HWND main = nullptr;

  explicit Program(const wchar_t* exe) {
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!Check(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &process),
               L"Quadsum.exe starts")) {
      return;
    }
    const HWND window = WaitWindow(nullptr, L"Quadsum", kStartMs);
    if (!Check(window != nullptr, L"its main window \"Quadsum\" shows")) return;
    const HWND address = GetDlgItem(window, kAddress);
    if (Check(Front(window) && WaitUntil([&] { return FocusOf(window) == address; }),
              L"it comes to the front with the focus in the address box")) {
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

  // A visible top-level window of the program; a null class or caption
  // matches any.
  HWND WaitWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil([&] {
      for (HWND w = GetTopWindow(nullptr); w && !found; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD pid = 0;
        wchar_t name[64] = {}, text[64] = {};
        GetWindowThreadProcessId(w, &pid);
        GetClassNameW(w, name, 64);
        GetWindowTextW(w, text, 64);
        if (pid == process.dwProcessId && IsWindowVisible(w) &&
            (!className || lstrcmpW(name, className) == 0) &&
            (!caption || lstrcmpW(text, caption) == 0)) {
          found = w;
        }
      }
      return found != nullptr;
    }, timeoutMs);
    return found;
  }

  void ExpectExit(const std::wstring& after) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, kStateMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &code);
    }
    const std::wstring actual =
        code == STILL_ACTIVE ? L"still running" : L"exit code " + std::to_wstring(code);
    Check(code == 0, L"after " + after + L" the program ends: expected exit code 0" +
                         (code == 0 ? L"" : L", actual " + actual));
  }
};

struct Row {
  const wchar_t* keys;  // '\b' is Backspace
  const wchar_t *address, *integer;
  bool open;
};

// Each row ends on an address text that none of its keys passes through
// earlier, so reading it means every key of the row has been handled.
constexpr Row kRows[] = {
    {L"1a9-2.168.X0.e1", L"192.168.0.1", L"3232235521", true},    // letters and signs dropped
    {L"\b\b", L"192.168.0", L"", false},                          // two periods: no integer
    {L".25599" L"7\b8", L"192.168.0.25598", L"3232261118", true},  // 7 is a 16th character
};

void Convert(const wchar_t* exe) {
  {
    Program quadsum(exe);
    const HWND main = quadsum.main;
    if (!main) return;
    for (const Row& row : kRows) {
      Keys(row.keys);
      const std::wstring typed = L"typed " + Quoted(row.keys) + L": ";
      Expect([&] { return GetDlgItem(main, kAddress); }, row.address, typed + L"address box");
      Expect([&] { return GetDlgItem(main, kInteger); }, row.integer, typed + L"integer box");
      const HWND open = GetDlgItem(main, kOpen);
      Check(WaitUntil([&] { return (IsWindowEnabled(open) != FALSE) == row.open; }),
            typed + (row.open ? L"Open is enabled" : L"Open is disabled"));
    }
    Keys(L"\r");  // the default button, Close
    quadsum.ExpectExit(L"Enter");
  }
  Program quadsum(exe);
  if (!quadsum.main) return;
  PostMessageW(quadsum.main, WM_CLOSE, 0, 0);  // as the title bar sends it
  quadsum.ExpectExit(L"WM_CLOSE");
}

void Lookup(const wchar_t* exe, const std::wstring& host, const std::wstring& list, bool fails) {
  Program quadsum(exe);
  if (!quadsum.main) return;
  Keys(L"\t ");  // Tab to "...", Space presses it
  const HWND dialog = quadsum.WaitWindow(nullptr, L"Reverse DNS Lookup", kStartMs);
  if (!Check(dialog && WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, kHost); }),
             L"Tab and Space open \"Reverse DNS Lookup\" with the focus in the host box")) {
    return;
  }
  Keys(host + L"\r");  // the default button, Lookup
  if (fails) {
    const HWND box = quadsum.WaitWindow(L"#32770", nullptr, kLookupMs);
    if (!Check(box != nullptr, L"a message box shows")) return;
    Expect([&] { return box; }, L"Quadsum", L"message box caption");
    Expect([&] { return GetDlgItem(box, kMessageText); }, L"Error looking up requested host.",
           L"message text");
    Check(GetWindow(box, GW_OWNER) == dialog, L"the message box is owned by the dialog");
    Check(IsWindowVisible(GetDlgItem(box, IDOK)) && !IsWindowVisible(GetDlgItem(box, IDCANCEL)),
          L"its only button is OK");
    Check(Front(box), L"the message box is in front");
    Keys(L"\r");
    Check(WaitUntil([&] { return !IsWindow(box); }), L"Enter closes the message box");
  }
  Expect([&] { return GetDlgItem(dialog, kList); }, list, L"address list", kLookupMs);
  Check(WaitUntil([&] {
          for (int id : {IDOK, IDCANCEL, kHost, kListToggle, kList}) {
            if (!IsWindowEnabled(GetDlgItem(dialog, id))) return false;
          }
          return true;
        }),
        L"every control of the dialog is enabled after the lookup");
  Expect([&] { return FocusOf(dialog); }, L"&Lookup", L"the focused control after the lookup");
  Check(Front(dialog), L"the dialog is in front");
  Keys(L"\x1b");  // Esc, the cancel button: Close
  Check(WaitUntil([&] { return !IsWindow(dialog); }), L"Esc closes the dialog");
  PostMessageW(quadsum.main, WM_CLOSE, 0, 0);
  quadsum.ExpectExit(L"WM_CLOSE");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring scenario = argc > 2 ? argv[1] : L"";
  if (scenario == L"convert" && argc == 3) {
    Convert(argv[2]);
  } else if (scenario == L"lookup" && argc >= 4) {
    std::wstring list;  // one address a line: CR LF between, none after the last
    for (int i = 4; i < argc; ++i) list += (i > 4 ? L"\r\n" : L"") + std::wstring(argv[i]);
    Lookup(argv[2], argv[3], list, argc == 4);
  } else {
    std::fputs("usage: e2e_driver convert <Quadsum.exe>\n"
               "       e2e_driver lookup <Quadsum.exe> <host> [<address>...]\n", stderr);
    return 2;
  }
  std::printf("%s: %d failed check(s)\n", failures ? "FAILED" : "PASSED", failures);
  return failures ? 1 : 0;
}
