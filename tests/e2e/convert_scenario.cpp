// Typing addresses into the main window and closing it, with real keys.
#include <string>

#include "tests/e2e/scenarios.h"

namespace e2e {
namespace {

using namespace main_window;

struct Step {
  const wchar_t* keys;  // '\b' is the Backspace key, anything else is typed
  const wchar_t* address;
  const wchar_t* integer;
  bool open;
  const char* what;
};

// Each step ends on an address text that none of its keys passes through
// earlier, so seeing it means every key of the step has been handled.
constexpr Step kSteps[] = {
    {L"192.168.0.1", L"192.168.0.1", L"3232235521", true, "a dotted address"},
    {L"abc0", L"192.168.0.10", L"3232235530", true, "letters are dropped, the digit after them kept"},
    {L"\b\b\b", L"192.168.0", L"", false, "three periods are needed"},
    {L".255", L"192.168.0.255", L"3232235775", true, "the fourth part back"},
    {L" -+e/,X9", L"192.168.0.2559", L"3232238079", true, "blanks, signs and exponents are dropped"},
    {L"\b\b\b\b\b\b\b\b\b\b\b\b\b\b", L"", L"", false, "everything erased"},
    {L"255.255.255.255", L"255.255.255.255", L"4294967295", true, "the largest address"},
    {L"9\b", L"255.255.255.25", L"4294967065", true, "no room for a sixteenth character"},
    {L"\b\b\b\b\b\b\b\b\b\b\b\b\b\b10.0.0", L"10.0.0", L"", false, "two periods only"},
    {L".", L"10.0.0.", L"167772160", true, "an empty fourth part counts as 0"},
};

struct State {
  std::optional<std::wstring> address, integer;
  bool open;
};

State Read(HWND window) {
  return {TextOf(GetDlgItem(window, kAddress)), TextOf(GetDlgItem(window, kInteger)),
          IsWindowEnabled(GetDlgItem(window, kOpen)) != FALSE};
}

bool Matches(const State& s, const Step& step) {
  return s.address == step.address && s.integer == step.integer && s.open == step.open;
}

void Press(const wchar_t* keys) {
  for (const wchar_t* k = keys; *k; ++k) {
    if (*k == L'\b') {
      PressKey(VK_BACK);
    } else {
      TypeText({k, 1});
    }
  }
}

void PlayStep(HWND window, const Step& step, Report& report) {
  Press(step.keys);
  State s{};
  WaitUntil([&] { return Matches(s = Read(window), step); }, kStateTimeout);
  report.Note(step.what);
  report.Same(s.address, step.address, "address box");
  report.Same(s.integer, step.integer, "integer box");
  report.Check(s.open == step.open, step.open ? "Open is enabled" : "Open is disabled");
}

void ExpectFreshWindow(HWND window, Report& report) {
  const State s = Read(window);
  report.Same(s.address, L"", "new window: address box");
  report.Same(s.integer, L"", "new window: integer box");
  report.Check(!s.open, "new window: Open is disabled");
  const HWND address = GetDlgItem(window, kAddress);
  report.Check(WaitUntil([&] { return FocusOf(window) == address; }, kStateTimeout),
               "new window: the focus is in the address box");
}

void TypeAndPressEnter(const std::wstring& exe, Report& report) {
  Program program(exe);
  const HWND window = MainWindowOf(program, report);
  if (!window) return;
  ExpectFreshWindow(window, report);
  for (const Step& step : kSteps) PlayStep(window, step, report);
  report.Note("Enter presses the default button, Close");
  PressKey(VK_RETURN);
  ExpectCleanExit(program, report, "after Enter");
}

void CloseFromFrame(const std::wstring& exe, Report& report) {
  Program program(exe);
  const HWND window = MainWindowOf(program, report);
  if (!window) return;
  report.Note("WM_CLOSE, as from the title bar");
  PostMessageW(window, WM_CLOSE, 0, 0);
  ExpectCleanExit(program, report, "after WM_CLOSE");
}

}  // namespace

int RunConvert(const std::wstring& exe) {
  Report report;
  TypeAndPressEnter(exe, report);
  CloseFromFrame(exe, report);
  return report.Failures();
}

}  // namespace e2e
