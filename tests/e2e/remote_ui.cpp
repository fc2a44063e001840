#include "tests/e2e/remote_ui.h"

#include <thread>
#include <vector>

namespace e2e {
namespace {

constexpr Ms kPollInterval{50};
constexpr UINT kAnswerTimeoutMs = 2000;

// Under Wine a Unix path reaches CreateProcess as a path on the current
// drive; Wine's own converter names the drive that really maps to it.
std::wstring DosPath(const std::wstring& path) {
  if (path.empty() || path[0] != L'/') return path;
  using Convert = wchar_t* (*)(const char*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_dos_file_name")));
  if (!convert) return path;
  wchar_t* dos = convert(Utf8(path).c_str());
  if (!dos) return path;
  std::wstring result(dos);
  HeapFree(GetProcessHeap(), 0, dos);
  return result;
}

struct Search {
  DWORD pid;
  std::wstring_view caption;
  const wchar_t* className;
  HWND found = nullptr;
};

bool Matches(HWND hwnd, const Search& s) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s.pid || !IsWindowVisible(hwnd)) return false;
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  if (s.caption != text) return false;
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return !s.className || lstrcmpW(name, s.className) == 0;
}

BOOL CALLBACK CheckWindow(HWND hwnd, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  if (!Matches(hwnd, search)) return TRUE;
  search.found = hwnd;
  return FALSE;
}

INPUT Key(WORD vk, WORD scan, DWORD flags) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = scan;
  in.ki.dwFlags = flags;
  return in;
}

void Send(std::vector<INPUT>& inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, Ms timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

Program::Program(const std::wstring& path) {
  std::wstring commandLine = L"\"" + DosPath(path) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info_)) {
    info_ = {};
  }
}

Program::~Program() {
  if (!Started()) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

std::optional<DWORD> Program::WaitExit(Ms timeout) {
  if (!Started()) return std::nullopt;
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND FindTopLevel(DWORD pid, std::wstring_view caption, const wchar_t* className) {
  Search search{pid, caption, className};
  EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitTopLevel(DWORD pid, std::wstring_view caption, const wchar_t* className, Ms timeout) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopLevel(pid, caption, className)) != nullptr; }, timeout);
  return found;
}

std::optional<std::wstring> TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!window || !SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL,
                                      kAnswerTimeoutMs, &length)) {
    return std::nullopt;
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_NORMAL, kAnswerTimeoutMs, &copied)) {
    return std::nullopt;
  }
  text.resize(copied);
  return text;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool BringToFront(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == window; }, Ms{5000});
}

void TypeText(std::wstring_view text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    inputs.push_back(Key(0, c, KEYEVENTF_UNICODE));
    inputs.push_back(Key(0, c, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP));
  }
  Send(inputs);
}

void PressKey(WORD vk, int times) {
  std::vector<INPUT> inputs;
  const WORD scan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  for (int i = 0; i < times; ++i) {
    inputs.push_back(Key(vk, scan, 0));
    inputs.push_back(Key(vk, scan, KEYEVENTF_KEYUP));
  }
  Send(inputs);
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::string Quoted(const std::optional<std::wstring>& text) {
  if (!text) return "<no answer>";
  std::string out = "\"";
  for (char c : Utf8(*text)) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out + "\"";
}

}  // namespace e2e
