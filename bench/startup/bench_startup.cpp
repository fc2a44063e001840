// Start-up time of window programs: from just before CreateProcess until the
// new process has a visible top-level window. They are started in turn, so
// whatever else the machine is doing weighs on all alike.
//
//   bench_startup <program.exe> <baseline.exe>... [runs per program, default 15]
//
// Prints min and median for each and the ratio program/baseline for each
// baseline.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kWindowTimeoutMs = 20000;  // a cold Wine start can be slow
constexpr DWORD kExitTimeoutMs = 5000;
// Wine finishes tearing a process down after it has exited; a start that
// overlapped that took some 25 ms longer and varied more, so each start
// waits this long after the one before.
constexpr DWORD kSettleMs = 200;

struct Result {
  double ms = -1;  // negative: no window appeared in time
  bool killed = false;
};

double Now() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / ticksPerMs;
}

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchVisible(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND VisibleWindowOf(DWORD pid) {
  Search search{pid, nullptr};
  EnumWindows(MatchVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Input idle comes after the first window is shown, so the poll after it is
// usually a single look; it still covers programs that show late.
HWND WaitForWindow(const PROCESS_INFORMATION& pi) {
  WaitForInputIdle(pi.hProcess, kWindowTimeoutMs);
  const ULONGLONG deadline = GetTickCount64() + kWindowTimeoutMs;
  for (;;) {
    if (HWND hwnd = VisibleWindowOf(pi.dwProcessId)) return hwnd;
    if (GetTickCount64() > deadline) return nullptr;
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) return nullptr;  // exited
  }
}

// Returns true if the program had to be killed.
bool Close(const PROCESS_INFORMATION& pi, HWND hwnd) {
  if (hwnd) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  if (hwnd && WaitForSingleObject(pi.hProcess, kExitTimeoutMs) == WAIT_OBJECT_0) return false;
  TerminateProcess(pi.hProcess, 1);
  WaitForSingleObject(pi.hProcess, INFINITE);
  return true;
}

Result StartOnce(const std::wstring& exe) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  Result result;
  const double start = Now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
    std::exit(2);
  }
  HWND hwnd = WaitForWindow(pi);
  if (hwnd) result.ms = Now() - start;
  result.killed = Close(pi, hwnd);
  Sleep(kSettleMs);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

struct Series {
  explicit Series(std::wstring path) : exe(std::move(path)) {}

  std::wstring exe;
  std::vector<double> ms;
  int failures = 0;
  int kills = 0;

  void Add(const Result& r) {
    if (r.ms < 0) ++failures; else ms.push_back(r.ms);
    if (r.killed) ++kills;
  }
  double Min() const { return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end()); }
  double Median() const {
    if (ms.empty()) return 0;
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
};

std::wstring BaseName(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void Print(const Series& s) {
  std::wprintf(L"%-28ls min %8.1f ms  median %8.1f ms  (%zu timed", BaseName(s.exe).c_str(), s.Min(),
               s.Median(), s.ms.size());
  if (s.failures) std::wprintf(L", %d without a window", s.failures);
  if (s.kills) std::wprintf(L", %d killed", s.kills);
  std::wprintf(L")\n");
}

void PrintRatio(const Series& a, const Series& b) {
  if (a.ms.empty() || b.ms.empty()) return;
  std::wprintf(L"ratio %ls/%ls  median %.2f  min %.2f\n", BaseName(a.exe).c_str(),
               BaseName(b.exe).c_str(), a.Median() / b.Median(), a.Min() / b.Min());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<Series> series(argv + 1, argv + argc);
  int runs = 15;
  if (series.size() > 2 && BaseName(series.back().exe).find(L'.') == std::wstring::npos) {
    runs = std::max(1, _wtoi(series.back().exe.c_str()));
    series.pop_back();
  }
  if (series.size() < 2) {
    std::fwprintf(stderr, L"usage: bench_startup <program.exe> <baseline.exe>... [runs]\n");
    return 2;
  }
  // Untimed: the first start also pays for the disk cache.
  for (const Series& s : series) StartOnce(s.exe);
  for (int i = 0; i < runs; ++i) {
    for (Series& s : series) s.Add(StartOnce(s.exe));
  }
  std::wprintf(L"%d starts each, alternating, after one untimed start of each\n", runs);
  int failures = 0;
  for (const Series& s : series) {
    Print(s);
    failures += s.failures;
  }
  for (size_t i = 1; i < series.size(); ++i) PrintRatio(series[0], series[i]);
  return failures ? 1 : 0;
}
