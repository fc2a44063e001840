#include "cli/app.h"

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
#include "cli/streams.h"

namespace quadsum_cli {
namespace {

// Longest part of a value quoted in a message.
constexpr std::size_t kQuoted = 40;
// Output room asked for per run of common lines: large, so runs are long.
constexpr std::size_t kCommonRoom = 1 << 16;

// The value in double quotes, bytes outside printable ASCII as \xHH, cut
// after kQuoted bytes with the full length told.
std::string Quoted(std::string_view value, std::uint64_t length) {
  std::string text = "\"";
  for (const char c : value.substr(0, kQuoted)) {
    const auto byte = static_cast<unsigned char>(c);
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
    text += (byte >= 0x20 && byte < 0x7f && c != '"' && c != '\\') ? std::string(1, c) : escaped;
  }
  text += '"';
  if (length > kQuoted) text += " (first " + std::to_string(kQuoted) + " of " + std::to_string(length) + " bytes)";
  return text;
}

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

class Session {
 public:
  explicit Session(const Options& options) : options_(options) {}

  void Argument(int number, std::string_view value) {
    if (value == "-") return StandardInput();
    const Verdict verdict = ConvertOne(value, {}, {}, true);
    if (verdict == Verdict::Converted) return;
    if (verdict != Verdict::Blank) output_.Append("\n");
    Fail("argument " + std::to_string(number), Complaint(verdict), value, value.size());
  }

  // Values, one per line; or with a field number, that field of each line.
  void StandardInput(std::size_t field = 0, bool header = false) {
    LineReader reader(0, output_);
    if (!std::exchange(inputStarted_, true)) reader.SkipByteOrderMark();
    FieldSplitter splitter(field, options_.separator);
    Line line;
    while (!output_.failed() && (field || CommonLinesFrom(reader)) && reader.Next(line)) {
      ++lineNumber_;
      if (line.overlong()) {
        output_.Append("\n");
        Fail(LineName(), "line longer than " + std::to_string(kMaxLineLength) + " bytes", line.text, line.length);
      } else if (!field) {
        ValueLine(line.text);
      } else if (header && lineNumber_ == 1) {
        CopyLine(line);
      } else {
        FieldLine(line, splitter.Split(line.text), field);
      }
    }
    if (reader.error() != 0) IoError("cannot read standard input", reader.error());
  }

  void Host(int number, const std::string& host, bool named) {
    const LookupResult found = LookUpHost(host);
    for (const std::string& address : found.addresses) {
      output_.Append(named ? host + '\t' + address + '\n' : address + '\n');
    }
    if (found.addresses.empty()) {
      Fail("argument " + std::to_string(number), "cannot resolve host", host, host.size(), found.error);
    }
  }

  int Finish() {
    if (!output_.Flush()) IoError("cannot write standard output", output_.error());
    return status_;
  }

 private:
  void ValueLine(std::string_view text) {
    const Verdict verdict = ConvertOne(text, {}, {}, true);
    if (verdict != Verdict::Converted && verdict != Verdict::Blank) {
      output_.Append("\n");
      const std::string_view value = Trimmed(text);
      Fail(LineName(), Complaint(verdict), value, value.size());
    }
  }

  void CopyLine(const Line& line) {
    output_.Append(line.text);
    if (line.ended) output_.Append("\n");
  }

  // The line with its field converted in place; left empty (two empty
  // fields where a network or range was meant) when invalid.
  void FieldLine(const Line& line, const Field& split, std::size_t field) {
    if (Trimmed(line.text).empty() || split.problem != FieldProblem::None) {
      CopyLine(line);
      if (split.problem == FieldProblem::None) return;
      const char* what = split.problem == FieldProblem::BadQuotes ? "quote not closed at the end of a field"
                                                                  : "fewer fields than --field asks for";
      return Fail(LineName(), what, Trimmed(line.text), line.length);
    }
    const Verdict verdict = ConvertOne(split.value, split.before, split.after, line.ended);
    if (verdict == Verdict::Converted || verdict == Verdict::Blank) return;
    const std::string_view value = Trimmed(split.value);
    for (std::size_t n = FieldsWritten(value, options_); n > 1; --n) output_.Append({&options_.separator, 1});
    EndLine(split.after, line.ended);
    Fail(LineName() + ": field " + std::to_string(field), Complaint(verdict), value, value.size());
  }

  // Writes before, the value converted (a blank one stays blank) and after,
  // then an LF when ended; under --to-cidr such a line per network. An
  // invalid value leaves only before written, and its verdict is returned.
  Verdict ConvertOne(std::string_view value, std::string_view before, std::string_view after, bool ended) {
    output_.Append(before);
    const Result result = Convert(value, options_, output_.Room(kMaxConvertedLength));
    if (result.verdict == Verdict::Converted && !options_.toCidr) output_.Commit(result.end);
    if (result.verdict == Verdict::Blank || (result.verdict == Verdict::Converted && !options_.toCidr)) {
      EndLine(after, ended);
    } else if (result.verdict == Verdict::Converted) {
      for (quadsum::Networks networks(result.value.first, result.value.last, result.value.bits); !networks.done();) {
        output_.Commit(networks.WriteNext(output_.Room(quadsum::kNetworkRoom)));
        EndLine(after, ended);
        if (!networks.done()) output_.Append(before);
      }
    }
    return result.verdict;
  }

  void EndLine(std::string_view after, bool ended) {
    output_.Append(after);
    if (ended) output_.Append("\n");
  }

  // Converts the lines of the common shape at the reader's position; true
  // (to go on with the general path) unless output has failed.
  bool CommonLinesFrom(LineReader& reader) {
    for (bool full = true; full && !output_.failed();) {
      char* const out = output_.Room(kCommonRoom);
      const CommonLines done = ConvertCommonLines(reader.Pending(), options_, out, out + kCommonRoom);
      output_.Commit(done.out);
      reader.Consume(done.consumed);
      lineNumber_ += done.lines;
      full = done.full;
    }
    return !output_.failed();
  }

  std::string LineName() const { return "line " + std::to_string(lineNumber_); }

  // Output so far goes first, so that messages stay in place when both
  // streams go to one file.
  void Fail(const std::string& where, const std::string& what, std::string_view value, std::uint64_t length,
            const std::string& detail = {}) {
    output_.Flush();
    std::fprintf(stderr, "quadsum-cli: %s: %s: %s%s%s\n", where.c_str(), what.c_str(), Quoted(value, length).c_str(),
                 detail.empty() ? "" : ": ", detail.c_str());
    if (status_ == kAllConverted) status_ = kSomeInvalid;
  }

  void IoError(const char* what, int error) {
    if (status_ != kUsageOrIoError) std::fprintf(stderr, "quadsum-cli: %s: %s\n", what, std::strerror(error));
    status_ = kUsageOrIoError;
  }

  Options options_;
  Output output_{1};
  std::uint64_t lineNumber_ = 0;
  int status_ = kAllConverted;
  bool inputStarted_ = false;
};

int Lookup(const Command& command) {
  Session session(command.options);
  for (const auto& [number, host] : command.values) {
    session.Host(number, std::string(host), command.values.size() > 1);
  }
  return session.Finish();
}

int Conversions(const Command& command) {
  Session session(command.options);
  if (command.values.empty()) session.StandardInput(command.field, command.header);
  for (const auto& [number, value] : command.values) session.Argument(number, value);
  return session.Finish();
}

}  // namespace

int Run(int argc, char** argv) {
  const Command command = Parse(argc, argv);
  if (command.help || command.version) {
    std::fputs(command.help ? kHelpText : kVersionText, stdout);
    if (std::fflush(stdout) == 0) return kAllConverted;
    std::fprintf(stderr, "quadsum-cli: cannot write standard output: %s\n", std::strerror(errno));
    return kUsageOrIoError;
  }
  if (!command.error.empty()) {
    std::fprintf(stderr, "quadsum-cli: %s\nTry 'quadsum-cli --help'.\n", command.error.c_str());
    return kUsageOrIoError;
  }
  return command.lookup ? Lookup(command) : Conversions(command);
}

}  // namespace quadsum_cli
