// Steps that every scenario shares: the program's start and its end.
#include "tests/e2e/scenarios.h"

#include <string>

namespace e2e {

HWND MainWindowOf(const Program& program, Report& report) {
  if (!report.Check(program.Started(), "Quadsum.exe starts")) return nullptr;
  const HWND window = WaitTopLevel(program.Id(), L"Quadsum", nullptr, kWindowTimeout);
  if (!report.Check(window != nullptr, "its main window \"Quadsum\" shows")) return nullptr;
  report.Check(BringToFront(window), "the main window comes to the foreground");
  return window;
}

void ExpectCleanExit(Program& program, Report& report, std::string_view how) {
  const std::optional<DWORD> code = program.WaitExit(kExitTimeout);
  std::string what = "the program ends by itself " + std::string(how);
  if (code && *code != 0) what += " (exit code " + std::to_string(*code) + ")";
  report.Check(code == 0u, what);
}

bool AllEnabled(HWND window, std::initializer_list<int> ids) {
  for (int id : ids) {
    const HWND control = GetDlgItem(window, id);
    if (!control || !IsWindowEnabled(control)) return false;
  }
  return true;
}

}  // namespace e2e
