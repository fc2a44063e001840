// Reads the controls' names from another process as a screen reader does,
// through AccessibleObjectFromWindow(OBJID_CLIENT) and get_accName. Starts
// Quadsum.exe, reads the main window, presses "..." and reads the dialog.
// One ok or FAIL line per control; exit code 0 only when every name held.
//
//   accessible_names <Quadsum.exe>
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

#include "resources/resource_ids.h"

namespace {

constexpr wchar_t kMain[] = L"Quadsum", kLookup[] = L"Reverse DNS Lookup";

struct Row {
  const wchar_t* window;
  int id;
  const wchar_t* name;
};

// Main window rows first: the dialog is opened once they have been read.
constexpr Row kRows[] = {
    {kMain, IDC_MAIN_TEXT1, L"IP Address:"},  // a box is named by its label
    {kMain, IDC_MAIN_TEXT2, L"IP Integer:"},
    {kMain, IDC_MAIN_COMMAND2, L"Obtain IP address from a host"},
    {kMain, IDC_MAIN_COMMAND3, L"Open"},  // a button by its caption, without the &
    {kMain, IDOK, L"Close"},
    {kMain, IDC_MAIN_IMAGE1, L"Quadsum v1.0 by Tessary"},
    {kLookup, IDC_LOOKUP_TEXT1, L"Host:"},
    {kLookup, IDC_LOOKUP_TEXT2, L"IP List"},
    {kLookup, IDCANCEL, L"Close"},
};

HWND WaitWindow(DWORD pid, const wchar_t* caption) {
  for (int i = 0; i < 400; ++i, Sleep(50)) {  // a cold Wine start is slow
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, caption));) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == pid && IsWindowVisible(w)) return w;
    }
  }
  return nullptr;
}

std::wstring NameOf(HWND control) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&object)))) {
    return L"(no object)";
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  const std::wstring text = object->get_accName(self, &name) == S_OK && name ? name : L"(no name)";
  SysFreeString(name);
  object->Release();
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return std::fputs("usage: accessible_names <Quadsum.exe>\n", stderr), 2;
  CoInitialize(nullptr);
  std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return std::fputs("FAIL: Quadsum.exe does not start\n", stderr), 1;
  }
  int failures = 0;
  HWND window = nullptr;
  const wchar_t* shown = nullptr;
  for (const Row& row : kRows) {
    if (row.window != shown) {  // the dialog's first row: press "..." on the main window
      if (window) PostMessageW(GetDlgItem(window, IDC_MAIN_COMMAND2), BM_CLICK, 0, 0);
      window = WaitWindow(process.dwProcessId, shown = row.window);
    }
    const std::wstring name = window ? NameOf(GetDlgItem(window, row.id)) : L"(no window)";
    const bool held = name == row.name;
    failures += held ? 0 : 1;
    std::printf("%s: %ls, control %d named \"%ls\"%ls\n", held ? "ok" : "FAIL", row.window, row.id,
                row.name, held ? L"" : (L", actual \"" + name + L"\"").c_str());
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 5000);
  std::printf("%s: %d wrong name(s)\n", failures ? "FAILED" : "PASSED", failures);
  return failures ? 1 : 0;
}
