#include "cli/app.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/common_lines.h"
#include "cli/convert.h"
#include "cli/fields.h"
#include "cli/lookup.h"
#include "cli/options.h"
#include "cli/sets.h"
#include "cli/streams.h"

namespace quadsum_cli {
namespace {

// Longest part of a value quoted in a message.
constexpr std::size_t kQuoted = 40;
// Output room asked for per run of common lines: large, so runs are long.
constexpr std::size_t kCommonRoom = 1 << 16;

// Appends the value in double quotes, bytes outside printable ASCII as
// \xHH, cut after kQuoted bytes with the full length told.
void AppendQuoted(std::string& text, std::string_view value, std::uint64_t length) {
  static constexpr char kHex[] = "0123456789abcdef";
  const auto plain = [](char c) { return c >= 0x20 && c < 0x7f && c != '"' && c != '\\'; };
  const std::string_view shown = value.substr(0, kQuoted);
  text += '"';
  for (auto at = shown.begin(); at != shown.end();) {
    const auto escaped = std::find_if_not(at, shown.end(), plain);
    text.append(at, escaped);
    if (escaped == shown.end()) break;
    const auto byte = static_cast<unsigned char>(*escaped);
    text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
    at = escaped + 1;
  }
  text += '"';
  if (length > kQuoted) text += " (first " + std::to_string(kQuoted) + " of " + std::to_string(length) + " bytes)";
}

// Where a message points: an argument, or a line and maybe its field.
struct Place {
  const char* kind;
  std::uint64_t number;
  std::size_t field = 0;
};

const char* Complaint(Verdict verdict) {
  switch (verdict) {
    case Verdict::Converted:
    case Verdict::Blank: return "empty value";
    case Verdict::LeadingZero: return "leading zero (ambiguous: some tools read it as octal)";
    case Verdict::BadAddress: return "not a valid IPv4 address";
    case Verdict::BadIpv6: return "not a valid IPv6 address";
    case Verdict::BadInteger: return "not an integer from 0 to 2^128-1";
    case Verdict::LongHex: return "more than 32 hex digits";
    case Verdict::Unrecognized: return "neither an IP address nor an integer";
    case Verdict::BadLength: return "network length not from 0 to 32 (IPv4) or 128 (IPv6)";
    case Verdict::LongLength: return "network length of more than 3 digits";
    case Verdict::BadMask: return "netmask not ones then zeros in a strict IPv4 address";
    case Verdict::IntegerNetwork: return "an integer before '/': a network starts with an address";
    case Verdict::Reversed: return "range first above last";
    case Verdict::TwoFamilies: return "range ends of two families, IPv4 and IPv6";
    case Verdict::TwoKinds: return "range ends of two kinds, an address and an integer";
    case Verdict::BlankInside: return "blank inside a network or range";
    case Verdict::NotSpan: return "--to-cidr needs a network or range";
    case Verdict::NotPlainIpv4: return "--lenient reads plain IPv4 values only";
  }
  return "";
}

// What follows a value on its output line: the rest of the input line and
// the line end.
struct Tail {
  std::string_view after, end;
};

constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
// Messages gathered before a write when standard error is not a terminal.
constexpr std::size_t kMessageRoom = 1 << 16;

struct Outcome {
  Verdict verdict;
  bool holdsDelimiter = false;  // converted, but not written: its text would hold the delimiter
  bool written() const { return !holdsDelimiter && (verdict == Verdict::Converted || verdict == Verdict::Blank); }
};

class Session {
 public:
  Session(const Options& options, const Descriptors& fds)
      : options_(options), fds_(fds), output_(fds.out), messages_(fds.err, kMessageRoom),
        outputToTerminal_(IsTerminal(fds.out)), messagesToTerminal_(IsTerminal(fds.err)),
        separatorWritable_(std::string_view("0123456789abcdefx.:/").find(options.separator) != std::string_view::npos) {}

  void Argument(int number, std::string_view value) {
    if (value == "-") return StandardInput();
    const Verdict verdict = ConvertOne({.value = value}, true).verdict;
    if (verdict == Verdict::Converted) return;
    if (verdict != Verdict::Blank) output_.Append("\n");
    Fail({"argument", static_cast<std::uint64_t>(number)}, Complaint(verdict), value, value.size());
  }

  // Values, one per line; or with a field number, that field of each line.
  void StandardInput(std::size_t field = 0, bool header = false) {
    LineReader reader(fds_.in, output_);
    // In field mode the mark belongs to the first line, which may be copied.
    if (!std::exchange(inputStarted_, true) && !field) reader.SkipByteOrderMark();
    FieldSplitter splitter(field, options_.separator);
    Line line;
    for (;;) {
      if (!field) TakeCommonLines(reader);
      if (output_.failed() || !reader.Next(line, header && lineNumber_ == 0 ? &output_ : nullptr)) break;
      ++lineNumber_;
      if (header && lineNumber_ == 1) {
        // copied by the reader, whatever its length
      } else if (line.overlong()) {
        output_.Append(field ? line.end : "\n");
        Fail(AtLine(), "line longer than " + std::to_string(kMaxLineLength) + " bytes", line.text, line.length);
      } else if (!field) {
        ValueLine(line.text);
      } else {
        FieldLine(line, splitter, field, reader.MayHoldQuote(line.text));
      }
      if (line.ended()) lastEnd_ = line.end;
    }
    if (reader.error() != 0) IoError("cannot read standard input", reader.error());
  }

  void Host(int number, const std::string& host, bool named) {
    const LookupResult found = LookUpHost(host);
    for (const std::string& address : found.addresses) {
      output_.Append(named ? host + '\t' + address + '\n' : address + '\n');
    }
    if (found.addresses.empty()) {
      Fail({"argument", static_cast<std::uint64_t>(number)}, "cannot resolve host", host, host.size(), found.error);
    }
  }

  int Finish() {
    if (!output_.Flush()) IoError("cannot write standard output", output_.error());
    messages_.Flush();
    return status_;
  }

 private:
  void ValueLine(std::string_view text) {
    const Verdict verdict = ConvertOne({.value = text}, true).verdict;
    if (verdict != Verdict::Converted && verdict != Verdict::Blank) {
      output_.Append("\n");
      const std::string_view value = Trimmed(text);
      Fail(AtLine(), Complaint(verdict), value, value.size());
    }
  }

  void CopyLine(const Line& line) {
    output_.Append(line.text);
    if (line.ended()) output_.Append("\n");
  }

  // The line with its field converted in place; left empty (two empty
  // fields where a network or range was meant) when invalid. A blank line
  // stays as it is.
  void FieldLine(const Line& line, FieldSplitter& splitter, std::size_t field, bool mayQuote) {
    std::string_view text = line.text;
    const bool mark = lineNumber_ == 1 && text.starts_with(kByteOrderMark);
    if (mark) text.remove_prefix(kByteOrderMark.size());
    if (Trimmed(text).empty()) return CopyLine(line);
    Field split = splitter.Split(text, mayQuote);
    if (split.problem != FieldProblem::None) {
      CopyLine(line);
      if (split.badlyQuoted) return FailQuoting(line, split);
      return Fail(AtLine(), "fewer fields than --field asks for", Trimmed(line.text), line.length);
    }
    // The mark is kept with the fields before; it goes only with the value.
    if (mark && !split.before.empty()) split.before = {line.text.data(), split.before.size() + kByteOrderMark.size()};
    // after holds the CR of a CR LF: the end written is an LF or nothing
    const Outcome outcome = ConvertOne(split, line.ended());
    if (outcome.written()) {
      if (split.badlyQuoted) FailQuoting(line, split);
      return;
    }
    const std::string_view value = Trimmed(split.value);
    for (std::size_t n = FieldsWritten(value, options_); n > 1; --n) output_.Append({&options_.separator, 1});
    EndLine({split.after, line.ended() ? "\n" : ""});
    if (!outcome.holdsDelimiter) return Fail(AtLine(field), Complaint(outcome.verdict), value, value.size());
    const char delimiter[] = {'\'', options_.separator, '\'', 0};
    Fail(AtLine(field), std::string("its converted text would hold the delimiter ") + delimiter, value, value.size());
  }

  void FailQuoting(const Line& line, const Field& split) {
    Fail(AtLine(split.badlyQuoted),
         split.quoting == Quoting::NotClosed ? "quote not closed" : "text after the closing quote", Trimmed(line.text),
         line.length);
  }

  // Writes the field's before, its value converted (a blank one stays
  // blank), its after and an LF if ended; under --to-cidr such a line per
  // network. An invalid value, or one whose text would hold the delimiter
  // (the separator of a network or range's ends), leaves only before
  // written. The field by reference and the end as a flag: copies of them
  // made per line for the call cost the field loop a tenth of its time.
  Outcome ConvertOne(const Field& field, bool ended) {
    const std::string_view value = field.value, before = field.before, after = field.after;
    const Tail last{after, ended ? "\n" : ""};
    output_.Append(before);
    char* const out = output_.Room(kMaxConvertedLength);
    const Result result = Convert(value, options_, out);
    if (result.verdict == Verdict::Blank) EndLine(last);
    if (result.verdict != Verdict::Converted) return {result.verdict};
    if (!options_.toCidr) {
      const int separators = result.value.shape == quadsum::Shape::Plain ? 0 : 1;
      if (separatorWritable_ && std::count(out, result.end, options_.separator) != separators) {
        return {result.verdict, true};
      }
      output_.Commit(result.end);
      EndLine(last);
      return {result.verdict};
    }
    const auto each = [&](auto line) { quadsum::ForEachNetwork(result.value.first, result.value.last, result.value.bits, line); };
    bool holds = false;
    if (separatorWritable_) each([&](std::string_view network) { holds = holds || network.find(options_.separator) != std::string_view::npos; });
    if (holds) return {result.verdict, true};
    // A line without an end is repeated with the end of the line before,
    // its own (a CR, or none) kept for the last copy.
    const Tail between = ended ? last : Tail{after.substr(0, after.size() - after.ends_with('\r')), lastEnd_};
    bool first = true;
    each([&](std::string_view network) {
      if (!first) EndLine(between), output_.Append(before);
      first = false;
      output_.Append(network);
    });
    EndLine(last);
    return {result.verdict};
  }

  void EndLine(const Tail& tail) {
    output_.Append(tail.after);
    output_.Append(tail.end);
  }

  // Converts the lines of the common shape at the reader's position, up to
  // the first line of another shape.
  void TakeCommonLines(LineReader& reader) {
    for (bool full = true; full && !output_.failed();) {
      char* const out = output_.Room(kCommonRoom);
      const CommonLines done = ConvertCommonLines(reader.Pending(), options_, out, out + kCommonRoom);
      output_.Commit(done.out);
      reader.Consume(done.consumed);
      lineNumber_ += done.lines;
      full = done.full;
    }
  }

  Place AtLine(std::size_t field = 0) const { return {"line", lineNumber_, field}; }

  // On a terminal, output so far goes first, so that messages appear in
  // place; elsewhere messages are gathered, so that they cost no writes of
  // their own. Built in one string, kept, as invalid lines may be many.
  void Fail(const Place& place, std::string_view what, std::string_view value, std::uint64_t length,
            std::string_view detail = {}) {
    if (outputToTerminal_) output_.Flush();
    message_.assign("quadsum-cli: ").append(place.kind).append(" ").append(std::to_string(place.number));
    if (place.field) message_.append(": field ").append(std::to_string(place.field));
    message_.append(": ").append(what).append(": ");
    AppendQuoted(message_, value, length);
    if (!detail.empty()) message_.append(": ").append(detail);
    Message(message_.append("\n"));
    if (status_ == kAllConverted) status_ = kSomeInvalid;
  }

  void IoError(const char* what, int error) {
    if (status_ != kUsageOrIoError) Message("quadsum-cli: " + std::string(what) + ": " + std::strerror(error) + "\n");
    status_ = kUsageOrIoError;
  }

  void Message(std::string_view line) {
    messages_.Append(line);
    if (messagesToTerminal_) messages_.Flush();
  }

  Options options_;
  Descriptors fds_;
  Output output_, messages_;
  std::string message_;
  bool outputToTerminal_, messagesToTerminal_;
  // Whether a written number, address or network can hold the separator:
  // when not, no written value needs looking into for it.
  bool separatorWritable_;
  std::string_view lastEnd_ = "\n";  // the end of the latest line that had one
  std::uint64_t lineNumber_ = 0;
  int status_ = kAllConverted;
  bool inputStarted_ = false;
};

int Lookup(const Command& command, const Descriptors& fds) {
  Session session(command.options, fds);
  for (const auto& [number, host] : command.values) {
    session.Host(number, std::string(host), command.values.size() > 1);
  }
  return session.Finish();
}

int Conversions(const Command& command, const Descriptors& fds) {
  Session session(command.options, fds);
  if (command.values.empty()) session.StandardInput(command.field, command.header);
  for (const auto& [number, value] : command.values) session.Argument(number, value);
  return session.Finish();
}

}  // namespace

std::string QuotedValue(std::string_view value, std::uint64_t length) {
  std::string text;
  AppendQuoted(text, value, length);
  return text;
}
const char* VerdictText(Verdict verdict) { return Complaint(verdict); }

int Run(int argc, char** argv, const Descriptors& fds) {
  const Command command = Parse(argc, argv);
  if (command.help || command.version) {
    std::fputs(command.help ? kHelpText : kVersionText, stdout);
    if (std::fflush(stdout) == 0) return kAllConverted;
    std::fprintf(stderr, "quadsum-cli: cannot write standard output: %s\n", std::strerror(errno));
    return kUsageOrIoError;
  }
  if (!command.error.empty()) {
    std::fprintf(stderr, "quadsum-cli: %s\nTry 'quadsum-cli --help' for more information.\n", command.error.c_str());
    return kUsageOrIoError;
  }
  if (command.setModes) return RunSets(command.sets, fds);
  return command.lookup ? Lookup(command, fds) : Conversions(command, fds);
}

}  // namespace quadsum_cli
