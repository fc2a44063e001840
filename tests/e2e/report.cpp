#include "tests/e2e/report.h"

#include <cstdio>

#include "tests/e2e/remote_ui.h"

namespace e2e {

bool Report::Check(bool held, std::string_view what) {
  std::printf("%s: %.*s\n", held ? "ok" : "FAIL", static_cast<int>(what.size()), what.data());
  std::fflush(stdout);
  if (!held) ++failures_;
  return held;
}

bool Report::Same(const std::optional<std::wstring>& actual, std::wstring_view expected,
                  std::string_view what) {
  const bool held = actual && *actual == expected;
  std::string line(what);
  line += " is " + Quoted(std::wstring(expected));
  if (!held) line += ", but reads " + Quoted(actual);
  return Check(held, line);
}

void Report::Note(std::string_view text) {
  std::printf("-- %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(stdout);
}

}  // namespace e2e
