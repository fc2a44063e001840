// Looking a host up from the lookup dialog, with real keys, through the
// system's own resolver.
#include <string>
#include <vector>

#include "tests/e2e/scenarios.h"

namespace e2e {
namespace {

using namespace lookup_dialog;

constexpr wchar_t kDialogCaption[] = L"Reverse DNS Lookup";
constexpr wchar_t kMessageClass[] = L"#32770";
constexpr int kMessageTextId = 0xFFFF;
constexpr wchar_t kLookupFailed[] = L"Error looking up requested host.";
constexpr Ms kLookupTimeout{30000};  // the resolver's own retries included

const std::initializer_list<int> kDialogControls{kLookup, kClose, kHost, kIpList, kList};

// Tab from the address box to "...", Space presses it; the dialog must come
// up modal and owned by the main window, ready for a host name.
HWND OpenDialog(const Program& program, HWND main, Report& report) {
  const HWND button = GetDlgItem(main, main_window::kLookup);
  PressKey(VK_TAB);
  if (!report.Check(WaitUntil([&] { return FocusOf(main) == button; }, kStateTimeout),
                    "Tab moves the focus to \"...\"")) {
    return nullptr;
  }
  PressKey(VK_SPACE);
  const HWND dialog = WaitTopLevel(program.Id(), kDialogCaption, nullptr, kWindowTimeout);
  if (!report.Check(dialog != nullptr, "Space on \"...\" opens the lookup dialog")) return nullptr;
  report.Check(GetWindow(dialog, GW_OWNER) == main, "the dialog is owned by the main window");
  report.Check(!IsWindowEnabled(main), "the main window takes no input meanwhile");
  const HWND host = GetDlgItem(dialog, kHost);
  report.Check(WaitUntil([&] { return FocusOf(dialog) == host; }, kStateTimeout),
               "the focus is in the host box");
  return dialog;
}

void TypeHost(HWND dialog, const std::wstring& host, Report& report) {
  report.Check(BringToFront(dialog), "the dialog is in the foreground");
  TypeText(host);
  const HWND box = GetDlgItem(dialog, kHost);
  std::optional<std::wstring> text;
  WaitUntil([&] { return (text = TextOf(box)) == host; }, kStateTimeout);
  report.Same(text, host, "host box");
  report.Note("Enter presses the default button, Lookup");
  PressKey(VK_RETURN);
}

void ExpectList(HWND dialog, const std::wstring& expected, Report& report) {
  const HWND list = GetDlgItem(dialog, kList);
  std::optional<std::wstring> text;
  const bool done = WaitUntil(
      [&] {
        text = TextOf(list);
        return text && !text->empty() && AllEnabled(dialog, kDialogControls);
      },
      kLookupTimeout);
  report.Check(done, "the lookup ends with a list and every control unlocked");
  report.Same(text, expected, "address list");
  const HWND button = GetDlgItem(dialog, kLookup);
  report.Check(WaitUntil([&] { return FocusOf(dialog) == button; }, kStateTimeout),
               "the focus is back on Lookup");
}

BOOL CALLBACK AddVisibleButton(HWND child, LPARAM param) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  if (IsWindowVisible(child) && lstrcmpiW(name, L"Button") == 0) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  }
  return TRUE;
}

// The box offers one answer only: OK.
bool OnlyOk(HWND box) {
  std::vector<HWND> buttons;
  EnumChildWindows(box, AddVisibleButton, reinterpret_cast<LPARAM>(&buttons));
  return buttons.size() == 1 && TextOf(buttons[0]) == L"OK";
}

HWND WaitMessageBox(const Program& program, Report& report) {
  const HWND box = WaitTopLevel(program.Id(), L"Quadsum", kMessageClass, kLookupTimeout);
  report.Check(box != nullptr, "a message box captioned \"Quadsum\" appears");
  return box;
}

void ExpectFailureMessage(const Program& program, HWND dialog, Report& report) {
  const HWND box = WaitMessageBox(program, report);
  if (!box) return;
  report.Check(GetWindow(box, GW_OWNER) == dialog, "the message box is owned by the dialog");
  report.Same(TextOf(GetDlgItem(box, kMessageTextId)), kLookupFailed, "message text");
  report.Check(OnlyOk(box), "its only button is OK");
  report.Check(BringToFront(box), "the message box is in the foreground");
  report.Note("Enter presses OK");
  PressKey(VK_RETURN);
  report.Check(WaitUntil([&] { return !IsWindow(box); }, kStateTimeout), "the message box is gone");
  const HWND list = GetDlgItem(dialog, kList);
  std::optional<std::wstring> text;
  WaitUntil([&] { return (text = TextOf(list)) == L"" && AllEnabled(dialog, kDialogControls); },
            kStateTimeout);
  report.Same(text, L"", "address list");
  report.Check(AllEnabled(dialog, kDialogControls), "every control is unlocked");
}

// Esc closes the dialog and gives the main window back; closing that ends
// the program.
void CloseAll(Program& program, HWND main, HWND dialog, Report& report) {
  report.Check(BringToFront(dialog), "the dialog is in the foreground");
  report.Note("Esc presses Close");
  PressKey(VK_ESCAPE);
  report.Check(WaitUntil([&] { return !IsWindow(dialog); }, kStateTimeout), "the dialog is gone");
  report.Check(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, kStateTimeout),
               "the main window takes input again");
  PostMessageW(main, WM_CLOSE, 0, 0);
  ExpectCleanExit(program, report, "after WM_CLOSE to the main window");
}

template <typename Expect>
int Run(const std::wstring& exe, const std::wstring& host, Expect expect) {
  Report report;
  Program program(exe);
  const HWND main = MainWindowOf(program, report);
  const HWND dialog = main ? OpenDialog(program, main, report) : nullptr;
  if (!dialog) return report.Failures();
  TypeHost(dialog, host, report);
  expect(program, dialog, report);
  CloseAll(program, main, dialog, report);
  return report.Failures();
}

}  // namespace

int RunLookup(const std::wstring& exe, const std::wstring& host, const std::wstring& expected) {
  return Run(exe, host, [&](const Program&, HWND dialog, Report& report) {
    ExpectList(dialog, expected, report);
  });
}

int RunLookupFailure(const std::wstring& exe, const std::wstring& host) {
  return Run(exe, host, [](const Program& program, HWND dialog, Report& report) {
    ExpectFailureMessage(program, dialog, report);
  });
}

}  // namespace e2e
