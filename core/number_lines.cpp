#include "core/number_lines.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

#include "core/strict_address.h"

namespace quadsum {

#if QUADSUM_SSSE3
bool HasSsse3() { return __builtin_cpu_supports("ssse3"); }
#endif

namespace portable {
namespace {

// The text of the line at p, without a CR before its LF, when an LF lies
// within the first `readable` bytes; length becomes the line's length.
std::optional<std::string_view> Line(const char* p, std::size_t readable, std::size_t& length) {
  const auto* lf = static_cast<const char*>(std::memchr(p, '\n', readable));
  if (!lf) return std::nullopt;
  length = static_cast<std::size_t>(lf - p) + 1;
  std::string_view text(p, length - 1);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return text;
}

bool AllDigits(std::string_view text, std::size_t maxLength) {
  return !text.empty() && text.size() <= maxLength && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::size_t AddressLine(const char* p, std::uint32_t& address) {
  std::size_t length = 0;
  const auto text = Line(p, kShortLine, length);
  const auto parsed = text ? ParseStrictAddress(*text) : std::nullopt;
  if (!parsed) return 0;
  address = *parsed;
  return length;
}

std::size_t IntegerLine(const char* p, std::uint32_t& integer) {
  std::size_t length = 0;
  const auto text = Line(p, kShortLine, length);
  const auto parsed = text && AllDigits(*text, 10) ? ParseInteger(*text) : std::nullopt;
  if (!parsed || IsIpv6Integer(*parsed, false)) return 0;
  integer = static_cast<std::uint32_t>(parsed->value.low());
  return length;
}

char* WriteDecimal32(std::uint32_t value, char* out) { return std::to_chars(out, out + 10, value).ptr; }

std::size_t Ipv6Line(const char* p, Uint128& value) {
  std::size_t length = 0;
  const auto text = Line(p, kLongLine, length);
  if (!text || std::count(text->begin(), text->end(), ':') != 7 || text->find('.') != std::string_view::npos ||
      text->find("::") != std::string_view::npos) {
    return 0;
  }
  const auto parsed = ParseIpv6(*text);
  if (!parsed) return 0;
  value = *parsed;
  return length;
}

std::size_t DecimalLine(const char* p, Uint128& value) {
  std::size_t length = 0;
  const auto text = Line(p, kLongLine, length);
  const auto parsed = text && AllDigits(*text, kMaxNumberLength) ? ParseInteger(*text) : std::nullopt;
  if (!parsed) return 0;
  value = parsed->value;
  return length;
}

char* WriteDecimal128(Uint128 value, char* out) { return WriteDecimal(value, out); }

}  // namespace portable
}  // namespace quadsum
