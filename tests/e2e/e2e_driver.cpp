// Plays a user against the shipped Quadsum.exe: starts it, types with real
// keystrokes, reads its windows from outside. Exit code 0 only when every
// check held.
//
//   e2e_driver convert <Quadsum.exe>
//   e2e_driver lookup <Quadsum.exe> <host> <expected list>
//   e2e_driver lookup-fail <Quadsum.exe> <host>
//
// The expected list takes \r, \n and \\ escapes, or @file for a file's
// UTF-8 contents taken byte for byte.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "tests/e2e/scenarios.h"

namespace {

constexpr int kUsage = 2;

std::wstring Wide(std::string_view text, UINT codePage = CP_ACP) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), n);
  return out;
}

std::string Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] != '\\' || (next != 'r' && next != 'n' && next != '\\')) {
      out += text[i];
      continue;
    }
    out += next == 'r' ? '\r' : next == 'n' ? '\n' : '\\';
    ++i;
  }
  return out;
}

// nullopt when the file cannot be read.
std::optional<std::wstring> ExpectedList(std::string_view arg) {
  if (!arg.starts_with('@')) return Wide(Unescape(arg));
  std::ifstream file(std::string(arg.substr(1)), std::ios::binary);
  if (!file) return std::nullopt;
  return Wide(std::string(std::istreambuf_iterator<char>(file), {}), CP_UTF8);
}

int Usage() {
  std::fputs("usage: e2e_driver convert <exe>\n"
             "       e2e_driver lookup <exe> <host> <expected list, \\r\\n escapes or @file>\n"
             "       e2e_driver lookup-fail <exe> <host>\n",
             stderr);
  return kUsage;
}

int Run(int argc, char** argv) {
  const std::string_view scenario = argc > 1 ? argv[1] : "";
  if (scenario == "convert" && argc == 3) return e2e::RunConvert(Wide(argv[2]));
  if (scenario == "lookup" && argc == 5) {
    const auto expected = ExpectedList(argv[4]);
    if (!expected) {
      std::fprintf(stderr, "cannot read %s\n", argv[4] + 1);
      return -1;
    }
    return e2e::RunLookup(Wide(argv[2]), Wide(argv[3]), *expected);
  }
  if (scenario == "lookup-fail" && argc == 4) {
    return e2e::RunLookupFailure(Wide(argv[2]), Wide(argv[3]));
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int failures = Run(argc, argv);
  if (failures < 0) return Usage();
  std::printf("%s: %d failed check(s)\n", failures ? "FAILED" : "PASSED", failures);
  return failures ? 1 : 0;
}
