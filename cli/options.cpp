#include "cli/options.h"

#include <charconv>
#include <string>
#include <string_view>

#include "quadsum_version.h"

namespace quadsum_cli {

const char kVersionText[] = "quadsum-cli " QUADSUM_VERSION_TEXT "\n";
const char kHelpText[] = R"(Usage: quadsum-cli [OPTION]... [VALUE]...
   or: quadsum-cli --field=N [OPTION]...
   or: quadsum-cli --lookup HOST...
Converts IP addresses to integers and integers to IP addresses, IPv4 and
IPv6, and networks and ranges to their first and last numbers.

Each VALUE is converted and printed on a line of its own. With no VALUE,
values are read from standard input, one per line; a VALUE of - reads
standard input at that place.

An address gives its integer: 192.168.0.1 gives 3232235521. An integer
(decimal, or 0x and hex digits) gives its address: IPv4 up to 4294967295
or with 1 to 8 hex digits, IPv6 above that or with 9 to 32 hex digits.
IPv4 addresses are strict: four parts of at most 255, leading zeros
decimal (010 is 10). IPv6 addresses are read in any RFC 4291 text form
and printed in the RFC 5952 one (2001:db8::1, ::ffff:192.0.2.1).
A network ADDRESS/LEN gives its first and last integers, a range
FIRST-LAST (two addresses or two integers) its two ends converted, on one
line with a tab between: 1.0.0.0/24 gives 16777216<tab>16777471.
Blanks around a value and a CR before the line end are ignored; a line
longer than 4096 bytes is invalid.

  --to-int         read plain values as addresses; print the ends of
                   networks and ranges as integers
  --to-ip          read plain values as integers; print ends as addresses
  -6, --ipv6       read every integer as an IPv6 number (-6 1 gives ::1)
  --to-cidr        print a network or range as the fewest networks that
                   cover it, one per line: the one case where a value
                   gives several lines
  --field=N        convert field N (from 1) of each line of standard input,
                   copy the rest of the line as it is; a network or range
                   becomes two fields
  --delimiter=C    the field delimiter, one byte (default tab), not a digit;
                   with a comma, fields may be quoted as in CSV. A value
                   whose converted text would hold C is left empty
  --header         with --field, copy the first line unchanged
  --lenient        read IPv4 addresses as the Quadsum window does (no range
                   check, empty parts, fractions, exponents) and print
                   exactly what its IP Integer box shows
  --format=dec     print integers in decimal (the default)
  --format=hex     print integers as 0x and 8 (IPv4) or 32 (IPv6) hex digits
  --lookup HOST... print the IPv4 addresses of each HOST from the system
                   resolver, each once; with several hosts as HOST<tab>ADDRESS
  --help           print this help and exit
  --version        print the version and exit

An invalid value gives an empty output line (with --field, an empty field,
two for a network or range) and a message on standard error; a blank input
line gives a blank output line. A UTF-8 byte-order mark starting standard
input is skipped (with --field, only from a converted first field). Output
lines end in LF; with --field, as the input's do.
Exit status: 0 all values converted (all hosts found), 1 some did not,
2 usage or I/O error.
)";

namespace {


// --field=N and --delimiter=C; false when arg is neither.
bool ApplyFieldOption(std::string_view arg, Command& command) {
  constexpr std::string_view kField = "--field=", kDelimiter = "--delimiter=";
  if (arg.starts_with(kField)) {
    const std::string_view number = arg.substr(kField.size());
    const auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), command.field);
    if ((error != std::errc() || stop != number.data() + number.size() || command.field == 0) && command.error.empty()) {
      command.error = "--field needs a field number from 1";
    }
  } else if (arg.starts_with(kDelimiter)) {
    const std::string_view delimiter = arg.substr(kDelimiter.size());
    command.delimiter = true;
    command.options.separator = delimiter.empty() ? '\n' : delimiter[0];
    if ((delimiter.size() != 1 || delimiter.find_first_of("\"\r\n") == 0) && command.error.empty()) {
      command.error = "--delimiter needs one byte, not a quote, CR or LF";
    }
  } else {
    return false;
  }
  return true;
}

bool ApplyOption(std::string_view arg, Command& command) {
  if (arg == "--help") command.help = true;
  else if (arg == "--version") command.version = true;
  else if (arg == "--lookup") command.lookup = true;
  else if (arg == "--to-int") command.toInt = true;
  else if (arg == "--to-ip") command.toIp = true;
  else if (arg == "--lenient") command.options.lenient = true;
  else if (arg == "--format=dec") command.options.hex = false;
  else if (arg == "--format=hex") command.options.hex = true;
  else if (arg == "-6" || arg == "--ipv6") command.options.ipv6 = true;
  else if (arg == "--to-cidr") command.options.toCidr = true;
  else if (arg == "--header") command.header = true;
  else return ApplyFieldOption(arg, command);
  return true;
}

std::string ConflictOf(const Command& c) {
  const Options& o = c.options;
  if (c.toInt && c.toIp) return "--to-int and --to-ip exclude each other";
  if (o.lenient && o.hex) return "--lenient prints the window's text, never hex";
  if (o.lenient && (o.ipv6 || o.toCidr)) return "--lenient reads plain IPv4 values only: no -6 or --to-cidr";
  if (o.toCidr && (c.toInt || c.toIp || o.hex)) return "--to-cidr prints networks: no --to-int, --to-ip or --format=hex";
  if (c.lookup && (c.toInt || c.toIp || o.lenient || o.hex || o.ipv6 || o.toCidr || c.field)) {
    return "--lookup takes no conversion option";
  }
  if (c.lookup && c.values.empty()) return "--lookup needs at least one HOST";
  if (c.field && !c.values.empty()) return "--field takes no value arguments: it reads standard input";
  if (!c.field && (c.header || c.delimiter)) return "--header and --delimiter need --field";
  if (c.delimiter && o.separator >= '0' && o.separator <= '9') return "--delimiter cannot be a digit: every value written holds digits";
  return {};
}

}  // namespace

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

}  // namespace quadsum_cli
