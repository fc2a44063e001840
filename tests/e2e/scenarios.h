// The user stories the driver plays against Quadsum.exe. Each returns the
// number of checks that failed.
#pragma once

#include <windows.h>

#include <string>

#include "tests/e2e/remote_ui.h"
#include "tests/e2e/report.h"

namespace e2e {

// Control IDs of the program's windows, as GetDlgItem finds them.
namespace main_window {
constexpr int kClose = IDOK, kAddress = 102, kLookup = 103, kInteger = 105, kOpen = 106;
}
namespace lookup_dialog {
constexpr int kLookup = IDOK, kClose = IDCANCEL, kHost = 102, kIpList = 103, kList = 104;
}

constexpr Ms kWindowTimeout{20000};  // a cold Wine start can be slow
constexpr Ms kStateTimeout{10000};
constexpr Ms kExitTimeout{10000};

// Waits for the main window of the started program and brings it to the
// front; nullptr (with a failed check) when it never shows.
HWND MainWindowOf(const Program& program, Report& report);
// Waits until the program ends by itself and checks it ended cleanly.
void ExpectCleanExit(Program& program, Report& report, std::string_view how);
// Every control named is enabled (true) or disabled (false).
bool AllEnabled(HWND window, std::initializer_list<int> ids);

int RunConvert(const std::wstring& exe);
int RunLookup(const std::wstring& exe, const std::wstring& host, const std::wstring& expected);
int RunLookupFailure(const std::wstring& exe, const std::wstring& host);

}  // namespace e2e
