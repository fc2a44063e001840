#include "cli/app.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/common_lines.h"
#include "cli/convert.h"
#include "cli/lookup.h"
#include "cli/streams.h"
#include "quadsum_version.h"

namespace quadsum_cli {
namespace {

constexpr char kVersion[] = "quadsum-cli " QUADSUM_VERSION_TEXT "\n";
constexpr char kHelp[] = R"(Usage: quadsum-cli [OPTION]... [VALUE]...
   or: quadsum-cli --lookup HOST...
Converts IPv4 addresses to integers and integers to IPv4 addresses.

Each VALUE is converted and printed on a line of its own. With no VALUE,
values are read from standard input, one per line; a VALUE of - reads
standard input at that place.

A value with a period is an address: 192.168.0.1 gives 3232235521.
Decimal digits, or 0x and 1 to 8 hex digits, are an integer from 0 to
4294967295: 3232235521 and 0xc0a80001 give 192.168.0.1.
Addresses are strict: four parts of 1 to 3 digits, each at most 255;
leading zeros are decimal (010 is 10). Blanks around a value and a CR
before the line end are ignored; a line longer than 4096 bytes is invalid.

  --to-int         read every value as an address
  --to-ip          read every value as an integer
  --lenient        read addresses as the Quadsum window does (no range check,
                   empty parts, fractions, exponents) and print exactly what
                   its IP Integer box shows
  --format=dec     print integers in decimal (the default)
  --format=hex     print integers as 0x and 8 lower-case hex digits
  --lookup HOST... print the IPv4 addresses of each HOST from the system
                   resolver, each once; with several hosts as HOST<tab>ADDRESS
  --help           print this help and exit
  --version        print the version and exit

An invalid value gives an empty output line and a message on standard error;
a blank input line gives a blank output line. Output lines end in LF.
Exit status: 0 all values converted (all hosts found), 1 some did not,
2 usage or I/O error.
)";

// Longest part of a value quoted in a message.
constexpr std::size_t kQuoted = 40;
// Output room asked for per run of common lines: large, so runs are long.
constexpr std::size_t kCommonRoom = 1 << 16;

struct Command {
  Options options;
  bool help = false, version = false, lookup = false, toInt = false, toIp = false;
  std::vector<std::pair<int, std::string_view>> values;  // argument number, text
  std::string error;                                      // usage error
};

bool ApplyOption(std::string_view arg, Command& command) {
  if (arg == "--help") command.help = true;
  else if (arg == "--version") command.version = true;
  else if (arg == "--lookup") command.lookup = true;
  else if (arg == "--to-int") command.toInt = true;
  else if (arg == "--to-ip") command.toIp = true;
  else if (arg == "--lenient") command.options.lenient = true;
  else if (arg == "--format=dec") command.options.hex = false;
  else if (arg == "--format=hex") command.options.hex = true;
  else return false;
  return true;
}

std::string ConflictOf(const Command& c) {
  if (c.toInt && c.toIp) return "--to-int and --to-ip exclude each other";
  if (c.options.lenient && c.options.hex) return "--lenient prints the window's text, never hex";
  if (c.lookup && (c.toInt || c.toIp || c.options.lenient || c.options.hex)) {
    return "--lookup takes no conversion option";
  }
  if (c.lookup && c.values.empty()) return "--lookup needs at least one HOST";
  return {};
}

Command Parse(int argc, char** argv) {
  Command command;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      command.values.emplace_back(i, arg);
    } else if (!ApplyOption(arg, command) && command.error.empty()) {
      command.error = "unknown option '" + std::string(arg) + "'";
    }
  }
  if (command.error.empty()) command.error = ConflictOf(command);
  command.options.direction = command.toInt  ? Direction::ToInteger
                              : command.toIp ? Direction::ToAddress
                                             : Direction::Auto;
  return command;
}

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
    case Verdict::BadAddress: return "not a valid IPv4 address";
    case Verdict::BadInteger: return "not an integer from 0 to 4294967295";
    case Verdict::Unrecognized: return "neither an IPv4 address nor an integer";
    default: return "empty value";
  }
}

class Session {
 public:
  explicit Session(const Options& options) : options_(options) {}

  void Argument(int number, std::string_view value) {
    if (value == "-") return StandardInput();
    const Verdict verdict = ConvertOne(value);
    if (verdict != Verdict::Converted) Fail("argument " + std::to_string(number), Complaint(verdict), value, value.size());
  }

  void StandardInput() {
    LineReader reader(0, output_);
    Line line;
    while (!output_.failed() && CommonLinesFrom(reader) && reader.Next(line)) {
      ++lineNumber_;
      if (line.overlong()) {
        output_.Append("\n");
        Fail(LineName(), "line longer than " + std::to_string(kMaxLineLength) + " bytes", line.text, line.length);
        continue;
      }
      const Verdict verdict = ConvertOne(line.text);
      if (verdict != Verdict::Converted && verdict != Verdict::Blank) {
        const std::string_view value = Trimmed(line.text);
        Fail(LineName(), Complaint(verdict), value, value.size());
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
  Verdict ConvertOne(std::string_view value) {
    char* const at = output_.Room(kMaxConvertedLength + 1);
    const Result result = Convert(value, options_, at);
    char* const end = result.verdict == Verdict::Converted ? result.end : at;
    *end = '\n';
    output_.Commit(end + 1);
    return result.verdict;
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
  if (command.values.empty()) session.StandardInput();
  for (const auto& [number, value] : command.values) session.Argument(number, value);
  return session.Finish();
}

}  // namespace

int Run(int argc, char** argv) {
  const Command command = Parse(argc, argv);
  if (command.help || command.version) {
    std::fputs(command.help ? kHelp : kVersion, stdout);
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
