// Any text: the strict parses and quadsum-cli's conversion never crash or
// write past their room. An accepted address printed back as dotted text
// parses to the same integer, an accepted integer printed in decimal does
// too, and every address the C library's inet_pton accepts is accepted with
// its value; the one-pass conversion of common lines agrees with Convert.
// Aborts on the first break.

#include <arpa/inet.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "cli/common_lines.h"
#include "cli/convert.h"
#include "core/strict_address.h"

namespace {

void Check(bool held, const char* what, const std::string& in) {
  if (held) return;
  std::fprintf(stderr, "%s: \"%s\"\n", what, in.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  const auto address = quadsum::ParseStrictAddress(in);
  if (address) Check(quadsum::ParseStrictAddress(quadsum::DottedText(*address)) == address, "dotted round trip", in);
  in_addr c{};  // inet_pton reads up to a NUL
  if (in.find('\0') == std::string::npos && inet_pton(AF_INET, in.c_str(), &c) == 1) Check(address == ntohl(c.s_addr), "inet_pton accepts", in);
  if (const auto value = quadsum::ParseAddressInteger(in)) {
    Check(quadsum::ParseAddressInteger(std::to_string(*value)) == value, "integer round trip", in);
  }
  // Exactly the room the program gives, on the heap so overruns are caught.
  const auto out = std::make_unique<char[]>(quadsum_cli::kMaxConvertedLength);
  for (const bool lenient : {false, true}) quadsum_cli::Convert(in, {quadsum_cli::Direction::Auto, lenient}, out.get());
  // Lines of the common shape taken in one pass, by either parse and with any
  // options, print what Convert prints for each of them.
  const std::string block = in + std::string(16, 'x');  // every line of in is 16 bytes from the end
  for (int mode = 0; mode < 24; ++mode) {
    const quadsum_cli::Options options{quadsum_cli::Direction(mode % 3), mode / 3 % 2 == 1, mode / 6 % 2 == 1};
    std::string room(8 * block.size() + 16, '\0');  // at most 16 bytes out for 2 in
    const auto done = quadsum_cli::ConvertCommonLines(block, options, room.data(), room.data() + room.size(),
                                                      quadsum_cli::LineParse(mode / 12));
    std::string expected, line;
    for (std::istringstream lines(block.substr(0, done.consumed)); std::getline(lines, line);) {
      const auto converted = quadsum_cli::Convert(line, options, out.get());
      if (converted.verdict == quadsum_cli::Verdict::Converted) expected += std::string(out.get(), converted.end) + '\n';
    }
    // Whole lines only, each as Convert prints it.
    Check((done.consumed == 0 || block[done.consumed - 1] == '\n') && std::string(room.data(), done.out) == expected,
          "common lines as Convert", in);
  }
  return 0;
}
