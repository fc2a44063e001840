#include "cli/sets.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "cli/app.h"
#include "cli/convert.h"
#include "cli/streams.h"
#include "core/ipv6.h"
#include "core/strict_address.h"

#ifdef _WIN32
#include <io.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace quadsum_cli {
namespace {

using quadsum::Uint128;

// Room for the longest output line: two IPv6 numbers and two separators.
constexpr std::size_t kLineRoom = 2 * quadsum::kNumberRoom + 8;
// A huge page, where the system has them.
constexpr std::size_t kHugePage = 2 << 20;
// Messages gathered before they are written.
constexpr std::size_t kMessageRoom = 1 << 16;
// --expand writes at most this many addresses.
constexpr std::uint64_t kExpandLimit = std::uint64_t{1} << 32;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsCommentMark(char c) { return c == '#' || c == ';'; }

// The value with blanks around the '-' of a range taken out (into joined,
// kMaxLineLength bytes) where there are any.
std::string_view WithoutBlanksAroundDash(std::string_view value, char* joined) {
  const std::size_t dash = value.find('-', 1);
  if (dash == std::string_view::npos || value.size() > kMaxLineLength) return value;
  if (!IsBlank(value[dash - 1]) && (dash + 1 == value.size() || !IsBlank(value[dash + 1]))) return value;
  std::string_view first = value.substr(0, dash), last = value.substr(dash + 1);
  while (!first.empty() && IsBlank(first.back())) first.remove_suffix(1);
  while (!last.empty() && IsBlank(last.front())) last.remove_prefix(1);
  char* end = std::copy(first.begin(), first.end(), joined);
  *end++ = '-';
  end = std::copy(last.begin(), last.end(), end);
  return {joined, static_cast<std::size_t>(end - joined)};
}

int OpenInput(std::string_view name) {
  const std::string path(name);
#ifdef _WIN32
  return _open(path.c_str(), _O_RDONLY | _O_BINARY);
#else
  return open(path.c_str(), O_RDONLY);
#endif
}

// The size of a regular file, else 0.
std::uint64_t FileSize(int fd) {
#ifdef _WIN32
  struct _stat64 status;
  return _fstat64(fd, &status) == 0 && (status.st_mode & _S_IFREG) ? status.st_size : 0;
#else
  struct stat status;
  return fstat(fd, &status) == 0 && S_ISREG(status.st_mode) ? status.st_size : 0;
#endif
}

void CloseInput(int fd) {
#ifdef _WIN32
  _close(fd);
#else
  close(fd);
#endif
}

std::string_view InputName(std::string_view name) { return name == "-" ? "standard input" : name; }

class SetReading {
 public:
  SetReading(const SetCommand& command, int in, Output& messages) : in_(in), messages_(messages), builder_(command.ipv6) {}

  // Adds the lines of the named input; false (with a message) when it
  // cannot be read.
  bool Read(std::string_view name) {
    const int fd = name == "-" ? in_ : OpenInput(name);
    if (fd < 0) return CannotRead(name, errno);
    builder_.Reserve(FileSize(fd));
    LineReader reader(fd, messages_);
    reader.SkipByteOrderMark();
    for (Line line; reader.Next(line);) Add(name, line);
    if (name != "-") CloseInput(fd);
    lineNumber_ = 0;
    return reader.error() == 0 || CannotRead(name, reader.error());
  }

  IpSets Build() { return builder_.Build(); }
  bool invalid() const { return invalid_; }

 private:
  bool CannotRead(std::string_view name, int error) {
    messages_.Append("quadsum-cli: cannot read " + std::string(InputName(name)) + ": " + std::strerror(error) + "\n");
    return false;
  }

  void Add(std::string_view name, const Line& line) {
    ++lineNumber_;
    if (!line.overlong() && builder_.AddAddress(line.text)) return;
    const SetLine set = ReadSetLine(line.text);
    if (line.overlong() && !set.comment) {
      return Fail(name, "line longer than " + std::to_string(kMaxLineLength) + " bytes", line.text, line.length);
    }
    if (set.value.empty()) return;
    const quadsum::Verdict verdict = builder_.Add(set.value);
    if (verdict != quadsum::Verdict::Converted) Fail(name, VerdictText(verdict), set.value, set.value.size());
  }

  void Fail(std::string_view name, const std::string& what, std::string_view value, std::uint64_t length) {
    messages_.Append("quadsum-cli: " + std::string(InputName(name)) + ": line " + std::to_string(lineNumber_) + ": " +
                     what + ": " + QuotedValue(value, length) + "\n");
    invalid_ = true;
  }

  int in_;
  Output& messages_;
  SetBuilder builder_;
  std::uint64_t lineNumber_ = 0;
  bool invalid_ = false;
};

char* WriteText(std::uint32_t value, char* out) { return quadsum::WriteDotted(value, out); }
char* WriteText(Uint128 value, char* out) { return quadsum::WriteIpv6(value, out); }
char* WriteInt(std::uint32_t value, bool hex, char* out) { return WriteInteger(value, hex, out); }
char* WriteInt(Uint128 value, bool hex, char* out) {
  return hex ? quadsum::WriteHex(value, 32, out) : quadsum::WriteDecimal(value, out);
}

template <class T>
void WriteRange(const quadsum::IpRange<T>& range, const SetCommand& command, Output& output) {
  char* out = output.Room(kLineRoom);
  switch (command.form) {
    case SetForm::Networks:
      return quadsum::SplitIntoNetworks(range.first, range.last, [&](T first, unsigned length) {
        out = WriteText(first, output.Room(kLineRoom));
        *out++ = '/';
        out = std::to_chars(out, out + 3, length).ptr;
        *out++ = '\n';
        output.Commit(out);
      });
    case SetForm::Ranges:
      out = WriteText(range.first, out);
      if (range.first != range.last) *out++ = '-', out = WriteText(range.last, out);
      break;
    case SetForm::Integers:
      out = WriteInt(range.first, command.hex, out);
      *out++ = '\t';
      out = WriteInt(range.last, command.hex, out);
      break;
    case SetForm::Expand:
      for (T next = range.first; !output.failed(); next = next + quadsum::NumberTraits<T>::kOne) {
        out = WriteText(next, output.Room(kLineRoom));
        *out++ = '\n';
        output.Commit(out);
        if (next == range.last) break;
      }
      return;
  }
  *out++ = '\n';
  output.Commit(out);
}

template <class T>
void WriteSet(const LargeSet<T>& set, const SetCommand& command, Output& output) {
  for (const auto& range : set.ranges()) {
    if (output.failed()) return;
    WriteRange<T>(range, command, output);
  }
}

std::string CountText(const quadsum::AddressCount& count) {
  if (count.whole) return "340282366920938463463374607431768211456";  // 2^128
  char text[quadsum::kInteger128Room];
  return {text, quadsum::WriteDecimal(count.value, text)};
}

template <class T>
void WriteCountLine(const char* family, const LargeSet<T>& set, Output& output) {
  if (set.empty()) return;
  output.Append(std::string(family) + '\t' + std::to_string(set.NetworkCount()) + '\t' +
                std::to_string(set.ranges().size()) + '\t' + CountText(set.Count()) + '\n');
}

bool OverExpandLimit(const IpSets& sets) {
  const quadsum::AddressCount v4 = sets.v4.Count(), v6 = sets.v6.Count();
  const Uint128 limit(0, kExpandLimit);
  return v6.whole || v6.value > limit || v4.value + v6.value > limit;
}

IpSets Combine(SetMode mode, std::vector<IpSets>& inputs) {
  IpSets result = std::move(inputs.front());
  for (std::size_t i = 1; i < inputs.size(); ++i) {
    const IpSets& next = inputs[i];
    if (mode == SetMode::Common) result = {Intersection(result.v4, next.v4), Intersection(result.v6, next.v6)};
    if (mode == SetMode::Except) result = {Difference(result.v4, next.v4), Difference(result.v6, next.v6)};
    if (mode == SetMode::Diff) {
      result = {SymmetricDifference(result.v4, next.v4), SymmetricDifference(result.v6, next.v6)};
    }
  }
  return result;
}

}  // namespace

SetLine ReadSetLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  if (start == line.size()) return {};
  if (IsCommentMark(line[start])) return {{}, true};
  std::size_t end = start;
  for (std::size_t i = start; i < line.size(); ++i) {
    if (!IsBlank(line[i])) {
      end = i + 1;
    } else if (i + 1 < line.size() && IsCommentMark(line[i + 1])) {
      return {line.substr(start, end - start), true};
    }
  }
  return {line.substr(start, end - start), false};
}

quadsum::Verdict SetBuilder::Add(std::string_view value) {
  char joined[kMaxLineLength];
  const quadsum::IpValue read = quadsum::ReadIpValue(WithoutBlanksAroundDash(value, joined), reading_);
  if (read.verdict != quadsum::Verdict::Converted) return read.verdict;
  if (read.bits == 32) {
    v4_.push_back({static_cast<std::uint32_t>(read.first.low()), static_cast<std::uint32_t>(read.last.low())});
  } else {
    v6_.push_back({read.first, read.last});
  }
  return read.verdict;
}

void* AllocateLarge(std::size_t bytes) {
  if (bytes < 2 * kHugePage) return ::operator new(bytes);
  void* const memory = ::operator new(bytes, std::align_val_t{kHugePage});
#ifdef __linux__
  madvise(memory, bytes, MADV_HUGEPAGE);  // advice: where it is not taken, pages stay small
#endif
  return memory;
}

void FreeLarge(void* memory, std::size_t bytes) {
  if (bytes < 2 * kHugePage) return ::operator delete(memory);
  ::operator delete(memory, std::align_val_t{kHugePage});
}

bool SetBuilder::AddAddress(std::string_view line) {
  const std::size_t slash = line.find('/');
  const std::string_view address = line.substr(0, slash);
  const auto v4 = address.size() <= quadsum::kMaxDottedLength ? quadsum::ParseStrictAddress(address) : std::nullopt;
  const auto v6 = v4 || address.size() > quadsum::kMaxNumberLength ? std::nullopt : quadsum::ParseIpv6(address);
  if (!v4 && !v6) return false;
  const unsigned bits = v4 ? 32 : 128;
  unsigned length = bits;
  if (slash != std::string_view::npos &&
      quadsum::ReadNetworkLength(line.substr(slash + 1), bits, length) != quadsum::Verdict::Converted) {
    return false;
  }
  if (v4) {
    const auto host = static_cast<std::uint32_t>(0xFFFFFFFFull >> length);
    v4_.push_back({*v4 & ~host, *v4 | host});
  } else {
    const Uint128 host = length == 128 ? Uint128() : Uint128::Max() >> length;
    v6_.push_back({*v6 & ~host, *v6 | host});
  }
  return true;
}

void SetBuilder::Reserve(std::uint64_t bytes) {
  constexpr std::uint64_t kMostLines = 1 << 22;  // more lines grow the ranges as usual
  const auto lines = static_cast<std::size_t>(std::min(bytes / 8, kMostLines));  // 8 bytes: "1.2.3.4\n"
  v4_.reserve(v4_.size() + lines);
  v6_.reserve(v6_.size() + lines);
}

IpSets SetBuilder::Build() {
  return {Ipv4Set(std::exchange(v4_, {})), Ipv6Set(std::exchange(v6_, {}))};
}

std::string_view SetUsageError(const SetCommand& command) {
  const std::size_t files = command.files.size();
  if (command.mode == SetMode::Diff && files != 2) return "--diff needs two files";
  if ((command.mode == SetMode::Common || command.mode == SetMode::Except) && files < 2) {
    return command.mode == SetMode::Common ? "--common needs two files or more" : "--except needs two files or more";
  }
  if (std::count(command.files.begin(), command.files.end(), "-") > 1) return "standard input (-) named twice";
  return {};
}

namespace {

int Sets(const SetCommand& command, const Descriptors& fds, Output& messages) {
  SetReading reading(command, fds.in, messages);
  std::vector<IpSets> inputs;
  const bool oneSet = command.mode == SetMode::Merge || command.mode == SetMode::Count;
  const std::vector<std::string_view> stdinOnly{"-"};
  for (const std::string_view name : command.files.empty() ? stdinOnly : command.files) {
    if (!reading.Read(name)) return kUsageOrIoError;
    if (!oneSet) inputs.push_back(reading.Build());
  }
  if (oneSet) inputs.push_back(reading.Build());
  const IpSets result = Combine(command.mode, inputs);
  inputs.clear();
  if (command.mode != SetMode::Count && command.form == SetForm::Expand && OverExpandLimit(result)) {
    messages.Append("quadsum-cli: --expand would write more than 2^32 addresses\n");
    return kUsageOrIoError;
  }
  messages.Flush();
  Output output(fds.out);
  if (command.mode == SetMode::Count) {
    output.Append("family\tnetworks\tranges\taddresses\n");
    WriteCountLine("IPv4", result.v4, output);
    WriteCountLine("IPv6", result.v6, output);
  } else {
    WriteSet(result.v4, command, output);
    WriteSet(result.v6, command, output);
  }
  if (!output.Flush()) {
    messages.Append(std::string("quadsum-cli: cannot write standard output: ") + std::strerror(output.error()) + "\n");
    return kUsageOrIoError;
  }
  if (command.mode == SetMode::Diff) {
    return reading.invalid() ? kUsageOrIoError : result.v4.empty() && result.v6.empty() ? 0 : 1;
  }
  return reading.invalid() ? kSomeInvalid : kAllConverted;
}

}  // namespace

// Messages are gathered and written in blocks: those of the input before
// the output starts, any others at the end.
int RunSets(const SetCommand& command, const Descriptors& fds) {
  Output messages(fds.err, kMessageRoom);
  const int status = Sets(command, fds, messages);
  messages.Flush();
  return status;
}

}  // namespace quadsum_cli
