// Any text: the strict parses and quadsum-cli's conversion never crash or
// write past their room. An IPv4 or IPv6 address is accepted exactly when
// the C library's inet_pton accepts it, with its value, both by the parses
// and by quadsum-cli reading the text as an address; accepted text printed
// back parses to the same number, and IPv6 text prints as inet_ntop prints
// it, but for ::/96, which we print in hex groups and glibc's inet_ntop
// dotted when more than the last group is set. An accepted integer printed
// in decimal reads back the same. The one-pass conversion of common lines
// agrees with Convert; the networks --to-cidr prints for two numbers from
// the input cover exactly the range between them, each as large as it can
// be. Aborts on the first break.

#include <arpa/inet.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "cli/common_lines.h"
#include "cli/convert.h"
#include "core/ip_value.h"
#include "core/ipv6.h"
#include "core/number_lines.h"
#include "core/strict_address.h"

namespace {

using quadsum::Uint128;

void Check(bool held, const char* what, const std::string& in) {
  if (held) return;
  std::fprintf(stderr, "%s: \"%s\"\n", what, in.c_str());
  std::abort();
}

Uint128 FromBytes(const unsigned char* bytes) {
  std::uint64_t half[2] = {};
  for (int i = 0; i < 16; ++i) half[i / 8] = half[i / 8] << 8 | bytes[i];
  return {half[0], half[1]};
}

// Whether quadsum-cli reads the text as an address under --to-int: text of
// the plain shape (no '/', no '-' after its first byte) with no blank or CR
// around it, which inet_pton would refuse and Convert trims.
bool CliReadsAddress(const std::string& in) {
  if (in.find('/') != std::string::npos || in.find('-', 1) != std::string::npos) return false;
  if (quadsum_cli::Trimmed(in).size() != in.size()) return false;
  char out[quadsum_cli::kMaxConvertedLength];
  return quadsum_cli::Convert(in, {quadsum_cli::Direction::ToInteger}, out).verdict == quadsum_cli::Verdict::Converted;
}

void CheckIpv6(const std::string& in, bool accepted, const in6_addr& theirs) {
  const auto ours = quadsum::ParseIpv6(in);
  Check(accepted ? ours == FromBytes(theirs.s6_addr) : !ours, "inet_pton(AF_INET6) agrees", in);
  if (!ours) return;
  char text[quadsum::kIpv6Room], number[quadsum_cli::kMaxConvertedLength];
  const std::string written(text, quadsum::WriteIpv6(*ours, text));
  in6_addr bytes{};
  for (int i = 0; i < 16; ++i) bytes.s6_addr[i] = static_cast<unsigned char>((i < 8 ? ours->high() : ours->low()) >> (56 - 8 * (i % 8)));
  char expected[INET6_ADDRSTRLEN];
  inet_ntop(AF_INET6, &bytes, expected, sizeof expected);
  const bool dottedByGlibc = ours->high() == 0 && ours->low() >> 32 == 0 && ours->low() >> 16 != 0;
  Check(dottedByGlibc || written == expected, "inet_ntop agrees", in);
  // Its integer, read back under -6, prints the same text.
  const std::string integer(number, quadsum::WriteDecimal(*ours, number));
  const auto back = quadsum_cli::Convert(integer, {quadsum_cli::Direction::Auto, false, false, true}, number);
  Check(std::string(number, back.end) == written, "integer round trip", in);
}

// The networks for the range between the two numbers start at its first,
// follow each other and end at its last; none could be twice as large.
void CheckNetworks(Uint128 a, Uint128 b, unsigned bits, const std::string& in) {
  const Uint128 first = a < b ? a : b, last = a < b ? b : a, one(0, 1);
  Uint128 next = first;
  quadsum::Networks networks(first, last, bits);
  for (unsigned count = 0; !networks.done(); ++count) {
    char text[quadsum::kNetworkRoom];
    const quadsum::IpValue network = quadsum::ReadIpValue({text, networks.WriteNext(text)}, {});
    Check(network.verdict == quadsum::Verdict::Converted && network.first == next && count < 2 * bits, "networks follow", in);
    const Uint128 size = network.last - network.first + one;
    const bool largest = network.first == Uint128() && network.last == (bits == 32 ? Uint128(0, 0xFFFFFFFF) : Uint128::Max());
    Check(largest || (network.first & size) != Uint128() || network.last + size > last || network.last + size < network.last,
          "networks as large as they can be", in);
    next = network.last + one;
  }
  Check(next - one == last, "networks end at the last", in);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  const auto address = quadsum::ParseStrictAddress(in);
  if (address) Check(quadsum::ParseStrictAddress(quadsum::DottedText(*address)) == address, "dotted round trip", in);
  const bool noNul = in.find('\0') == std::string::npos;  // inet_pton reads up to a NUL
  in_addr v4{};
  in6_addr v6{};
  const bool acceptedV4 = noNul && inet_pton(AF_INET, in.c_str(), &v4) == 1;
  const bool acceptedV6 = noNul && inet_pton(AF_INET6, in.c_str(), &v6) == 1;
  Check(acceptedV4 ? address == ntohl(v4.s_addr) : !address, "inet_pton(AF_INET) agrees", in);
  if (noNul) Check(CliReadsAddress(in) == (acceptedV4 || acceptedV6), "quadsum-cli reads what inet_pton reads", in);
  if (const auto value = quadsum::ParseInteger(in); value && !quadsum::IsIpv6Integer(*value, false)) {
    const auto back = quadsum::ParseInteger(std::to_string(value->value.low()));
    Check(back && back->value == value->value, "integer round trip", in);
  }
  // Exactly the room the program gives, on the heap so overruns are caught.
  const auto out = std::make_unique<char[]>(quadsum_cli::kMaxConvertedLength);
  for (const bool lenient : {false, true}) quadsum_cli::Convert(in, {quadsum_cli::Direction::Auto, lenient}, out.get());
  // Lines of the common shape taken in one pass, by either parse and with any
  // options, are plain values and print what Convert prints for each.
  const std::string block = in + std::string(quadsum::kLongLine, 'x');  // every line of in is kLongLine bytes from the end
  for (int mode = 0; mode < 72; ++mode) {
    const quadsum_cli::Options options{quadsum_cli::Direction(mode % 3), mode / 3 % 2 == 1, mode / 6 % 2 == 1,
                                       mode / 24 == 1, mode / 24 == 2};
    std::string room(12 * block.size() + quadsum_cli::kCommonLineRoom, '\0');  // 35 bytes out for "::\n" under --hex
    const auto done = quadsum_cli::ConvertCommonLines(block, options, room.data(), room.data() + room.size(),
                                                      quadsum_cli::LineParse(mode / 12 % 2));
    std::string expected, line;
    for (std::istringstream lines(block.substr(0, done.consumed)); std::getline(lines, line);) {
      Check(quadsum::ShapeOf(quadsum_cli::Trimmed(line), options.lenient) == quadsum::Shape::Plain, "the loop takes plain values only", in);
      const auto converted = quadsum_cli::Convert(line, options, out.get());
      if (converted.verdict == quadsum_cli::Verdict::Converted) expected += std::string(out.get(), converted.end) + '\n';
    }
    // Whole lines only, each as Convert prints it.
    Check((done.consumed == 0 || block[done.consumed - 1] == '\n') && std::string(room.data(), done.out) == expected,
          "common lines as Convert", in);
  }
  CheckIpv6(in, acceptedV6, v6);
  if (size >= 32) {
    CheckNetworks(FromBytes(data), FromBytes(data + 16), 128, in);
    CheckNetworks(Uint128(0, FromBytes(data).low() >> 32), Uint128(0, FromBytes(data + 16).low() >> 32), 32, in);
  }
  return 0;
}
