// What a run checked, printed as it goes; the run passes only when every
// check held.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace e2e {

class Report {
 public:
  // Prints "ok" or "FAIL" with the description; returns the outcome.
  bool Check(bool held, std::string_view what);
  // Exact text comparison; a window that did not answer never matches.
  bool Same(const std::optional<std::wstring>& actual, std::wstring_view expected,
            std::string_view what);
  void Note(std::string_view text);
  int Failures() const { return failures_; }

 private:
  int failures_ = 0;
};

}  // namespace e2e
