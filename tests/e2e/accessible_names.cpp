// Reads the controls' names from another process as a screen reader does,
// through AccessibleObjectFromWindow(OBJID_CLIENT) and get_accName. Starts
// Quadsum.exe, reads the main window, presses "..." and reads the dialog.
// One ok or FAIL line per control; exit code 0 only when every name held.
//
//   accessible_names <Quadsum.exe>
#include <windows.h>
#include <oleacc.h>
#include <process.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "resources/resource_ids.h"

namespace {

constexpr wchar_t kMain[] = L"Quadsum", kLookup[] = L"Reverse DNS Lookup";

// Main window rows first: "..." opens the dialog before its first row.
constexpr struct { const wchar_t *window; int id; const wchar_t* name; } kRows[] = {
    {kMain, IDC_MAIN_TEXT1, L"IP Address:"},  // a box is named by its label
    {kMain, IDC_MAIN_COMMAND2, L"Obtain IP address from a host"},
    {kMain, IDC_MAIN_COMMAND3, L"Open"},  // a button by its caption, without the &
    {kMain, IDOK, L"Close"},
    {kMain, IDC_MAIN_IMAGE1, L"Quadsum v1.0 by Tessary"},
    {kLookup, IDC_LOOKUP_TEXT1, L"Host:"},
    {kLookup, IDC_LOOKUP_TEXT2, L"IP List"},
    {kLookup, IDCANCEL, L"Close"},
};

HWND WaitWindow(const wchar_t* caption) {  // shown, so its controls exist; a cold Wine start is slow
  HWND w = nullptr;
  for (int i = 0; i < 400 && !IsWindowVisible(w = FindWindowW(L"QuadsumForm", caption)); ++i) Sleep(50);
  return w;
}

std::wstring NameOf(HWND control) {  // or why there is none
  IAccessible* object = nullptr;
  BSTR name = nullptr;
  VARIANT self{};  // lVal 0: CHILDID_SELF
  self.vt = VT_I4;
  // __uuidof, not IID_IAccessible: the x86-64 mingw-w64 import library of
  // oleacc resolves that name to an import thunk, whose code bytes would go
  // out as the interface id.
  HRESULT hr = AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object));
  if (SUCCEEDED(hr)) {
    hr = object->get_accName(self, &name);
    object->Release();
  }
  wchar_t none[32];
  std::swprintf(none, std::size(none), L"(none: 0x%08lx)", static_cast<unsigned long>(hr));
  const std::wstring text = name ? name : none;
  SysFreeString(name);
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const intptr_t quadsum = argc == 2 ? _wspawnl(_P_NOWAIT, argv[1], argv[1], nullptr) : -1;
  if (quadsum == -1) return std::fputs("usage: accessible_names <Quadsum.exe>\n", stderr), 2;
  CoInitialize(nullptr);
  int failures = 0;
  HWND window = nullptr;
  for (const wchar_t* shown = nullptr; const auto& row : kRows) {
    if (row.window != shown) {
      if (window) PostMessageW(GetDlgItem(window, IDC_MAIN_COMMAND2), BM_CLICK, 0, 0);  // "..."
      window = WaitWindow(shown = row.window);
    }
    const std::wstring name = NameOf(GetDlgItem(window, row.id));
    failures += name != row.name;
    std::printf("%s: %ls control %d named \"%ls\" (expected \"%ls\")\n", name == row.name ? "ok" : "FAIL",
                row.window, row.id, name.c_str(), row.name);
  }
  TerminateProcess(reinterpret_cast<HANDLE>(quadsum), 0);
  std::printf("%s: %d wrong name(s)\n", failures ? "FAILED" : "PASSED", failures);
  return failures ? 1 : 0;
}
