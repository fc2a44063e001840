#include "cli/options.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "quadsum_version.h"

namespace quadsum_cli {

const char kVersionText[] = "quadsum-cli " QUADSUM_VERSION_TEXT "\n";
const char kHelpText[] = R"(Usage: quadsum-cli [OPTION]... [VALUE]...
   or: quadsum-cli --field=N [OPTION]...
   or: quadsum-cli --lookup HOST...
   or: quadsum-cli SET-MODE [--ranges|--to-int|--expand] [FILE]...
Converts IP addresses to integers and integers to IP addresses, IPv4 and
IPv6, and networks and ranges to their first and last numbers.

Each VALUE is converted and printed on a line of its own. With no VALUE,
values are read from standard input, one per line; a VALUE of - reads
standard input at that place.

An address gives its integer: 192.168.0.1 gives 3232235521. An integer
(decimal, or 0x and hex digits) gives its address: IPv4 up to 4294967295
or with 1 to 8 hex digits, IPv6 above that or with 9 to 32 hex digits.
Integers are decimal even with leading zeros: there is no octal here.
Addresses are read as inet_pton reads them: IPv4 in four parts of at
most 255, with no leading zero (010.0.0.1 is refused, since other tools
read 010 as 8); IPv6 in any RFC 4291 text form, printed in the RFC 5952
one (2001:db8::1, ::ffff:192.0.2.1).
A network ADDRESS/LEN (LEN a length or an IPv4 netmask such as
255.255.255.0) gives its first and last integers, a range FIRST-LAST (two
addresses or two integers) its two ends converted, on one line with a tab
between: 1.0.0.0/24 gives 16777216<tab>16777471.
Blanks around a value and a CR before the line end are ignored; a line
longer than 4096 bytes is invalid.

  --to-int         read plain values as addresses; print the ends of
                   networks and ranges (in set modes, ranges) as integers
  --to-ip          read plain values as integers; print ends as addresses
  -6, --ipv6       read every integer as an IPv6 number (-6 1 gives ::1)
  --to-cidr        print a network or range as the fewest networks that
                   cover it, one per line (one value, several lines)
  --field=N        convert field N (from 1) of each line of standard input,
                   copy the rest of the line as it is; a network or range
                   becomes two fields
  --delimiter=C    the field delimiter, one byte (default tab), not a digit;
                   with a comma, fields may be quoted as in CSV. A value
                   whose converted text would hold C is left empty
  --header         with --field, copy the first line unchanged
  --lenient        read IPv4 addresses as the Quadsum window does (no range
                   check, empty parts, fractions, exponents, 010 is 10)
                   and print exactly what its IP Integer box shows
  --format=FORMAT  print integers in FORMAT: dec (the default), or hex:
                   0x and 8 (IPv4) or 32 (IPv6) hex digits
  --lookup HOST... print the IPv4 addresses of each HOST from the system
                   resolver, each once; with several hosts as HOST<tab>ADDRESS
  --help           print this help and exit
  --version        print the version and exit

Set modes read whole files of values (# and ; start comments) into memory
and print one set, sorted, IPv4 first, as the fewest networks. FILE - is
standard input, read by --merge and --count without FILE.
  --merge [FILE]...    the addresses in any file
  --common FILE...     the addresses in every file
  --except FILE...     the first file's addresses that no other file has
  --diff FILE FILE     addresses in just one: exit 0 if none, 1 some, 2 trouble
  --count [FILE]...    networks, ranges and addresses of the union by family
  --ranges         with a set mode, print maximal ranges FIRST-LAST
  --expand         with a set mode, print every address (2^32 at most)
An option's argument may follow it as --field=2 or --field 2; long options
may be shortened to any unambiguous start; -- ends the options.

An invalid value gives an empty output line (with --field, an empty field,
two for a network or range) and a message on standard error; a blank input
line gives a blank output line. A UTF-8 byte-order mark starting standard
input is skipped (with --field, only from a converted first field). Output
lines end in LF; with --field, as the input's do.
Exit status: 0 all values converted (all hosts found), 1 some did not,
2 usage or I/O error.
)";

namespace {

// Long options' ids start above every byte, so none is taken for a short one.
enum OptionId : int {
  kIpv6 = '6',
  kHelp = 256, kVersion, kLookup, kToInt, kToIp, kLenient, kFormat, kToCidr, kField, kDelimiter, kHeader,
  kMerge, kCommon, kExcept, kDiff, kCount, kRanges, kExpand,
};

constexpr option kLongOptions[] = {
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"lookup", no_argument, nullptr, kLookup},
    {"to-int", no_argument, nullptr, kToInt},
    {"to-ip", no_argument, nullptr, kToIp},
    {"ipv6", no_argument, nullptr, kIpv6},
    {"to-cidr", no_argument, nullptr, kToCidr},
    {"field", required_argument, nullptr, kField},
    {"delimiter", required_argument, nullptr, kDelimiter},
    {"header", no_argument, nullptr, kHeader},
    {"lenient", no_argument, nullptr, kLenient},
    {"format", required_argument, nullptr, kFormat},
    {"merge", no_argument, nullptr, kMerge},
    {"common", no_argument, nullptr, kCommon},
    {"except", no_argument, nullptr, kExcept},
    {"diff", no_argument, nullptr, kDiff},
    {"count", no_argument, nullptr, kCount},
    {"ranges", no_argument, nullptr, kRanges},
    {"expand", no_argument, nullptr, kExpand},
    {nullptr, 0, nullptr, 0},
};
constexpr char kShortOptions[] = "6";

std::string Quote(std::string_view text) { return "'" + std::string(text) + "'"; }

// The long options the text (without "--" and any "=value") names: the one
// it spells out, else every one it abbreviates.
std::vector<const option*> Matches(std::string_view name) {
  std::vector<const option*> found;
  for (const option* o = kLongOptions; o->name; ++o) {
    if (o->name == name) return {o};
    if (std::string_view(o->name).starts_with(name)) found.push_back(o);
  }
  return found;
}

// What getopt_long refused in the argument, told in coreutils' words; it
// prints nothing itself, so that every platform's program says the same.
std::string OptionError(std::string_view arg, int shortOption) {
  if (!arg.starts_with("--")) {
    if (shortOption == 0) shortOption = arg.size() > 1 ? arg[1] : '-';
    return "invalid option -- " + Quote(std::string(1, static_cast<char>(shortOption)));
  }
  const std::string_view name = arg.substr(2, arg.find('=') - 2);
  const std::vector<const option*> found = Matches(name);
  if (found.empty()) return "unrecognized option " + Quote(arg.substr(0, arg.find('=')));
  if (found.size() > 1) {
    std::string error = "option " + Quote(arg.substr(0, arg.find('='))) + " is ambiguous; possibilities:";
    for (const option* o : found) error += " " + Quote(std::string("--") + o->name);
    return error;
  }
  const std::string spelled = std::string("--") + found.front()->name;
  if (found.front()->has_arg == no_argument) return "option " + Quote(spelled) + " doesn't allow an argument";
  return "option " + Quote(spelled) + " requires an argument";
}

// A value of --format: one of the words or an unambiguous start of one.
std::string ApplyFormat(std::string_view value, Options& options) {
  constexpr std::string_view kWords[] = {"dec", "hex"};
  int matched = -1, count = 0;
  for (int i = 0; i < 2; ++i) {
    if (kWords[i] == value) matched = i, count = 1;
    if (kWords[i] == value) break;
    if (kWords[i].starts_with(value)) matched = i, ++count;
  }
  if (count == 1) {
    options.hex = matched == 1;
    return {};
  }
  return std::string(count > 1 ? "ambiguous" : "invalid") + " argument " + Quote(value) +
         " for '--format'\nValid arguments are:\n  - 'dec'\n  - 'hex'";
}

std::string ApplyField(std::string_view value, std::size_t& field) {
  const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), field);
  if (error == std::errc::result_out_of_range && stop == value.data() + value.size()) {
    return "field number " + Quote(value) + " is too large";
  }
  if (value.empty() || error != std::errc() || stop != value.data() + value.size()) {
    return "invalid field number " + Quote(value);
  }
  return field == 0 ? "fields are numbered from 1" : "";
}

std::string ApplyDelimiter(std::string_view value, char& separator) {
  if (value.size() != 1) return "the delimiter must be a single byte";
  if (value.find_first_of("\"\r\n") == 0) return "the delimiter cannot be a quote, CR or LF";
  separator = value[0];
  return {};
}

std::string Apply(int id, std::string_view value, Command& c) {
  switch (static_cast<OptionId>(id)) {
    case kHelp: c.help = true; break;
    case kVersion: c.version = true; break;
    case kLookup: c.lookup = true; break;
    case kToInt: c.toInt = true; break;
    case kToIp: c.toIp = true; break;
    case kIpv6: c.options.ipv6 = true; break;
    case kToCidr: c.options.toCidr = true; break;
    case kLenient: c.options.lenient = true; break;
    case kHeader: c.header = true; break;
    case kFormat: return ApplyFormat(value, c.options);
    case kField: return ApplyField(value, c.field);
    case kDelimiter: c.delimiter = true; return ApplyDelimiter(value, c.options.separator);
    case kMerge: case kCommon: case kExcept: case kDiff: case kCount:
      c.setModes += 1;
      c.sets.mode = static_cast<SetMode>(id - kMerge);
      break;
    case kRanges: c.ranges = true; break;
    case kExpand: c.expand = true; break;
  }
  return {};
}

std::string SetConflictOf(const Command& c) {
  const Options& o = c.options;
  if (c.setModes > 1) return "--merge, --common, --except, --diff and --count exclude each other";
  if (o.lenient || c.field || c.delimiter || c.header || c.toIp || o.toCidr || c.lookup) {
    return "set modes take no --lenient, --field, --delimiter, --header, --to-ip, --to-cidr or --lookup";
  }
  if (c.ranges + c.toInt + c.expand > 1) return "--ranges, --to-int and --expand exclude each other";
  if (c.sets.mode == SetMode::Count && (c.ranges || c.toInt || c.expand)) {
    return "--count prints a table: no --ranges, --to-int or --expand";
  }
  if (o.hex && !c.toInt) return "--format=hex needs --to-int";
  return std::string(SetUsageError(c.sets));
}

std::string ConflictOf(const Command& c) {
  const Options& o = c.options;
  if (c.setModes) return SetConflictOf(c);
  if (c.ranges || c.expand) return "--ranges and --expand need a set mode";
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
  // getopt_long moves operands behind the options in the array it is given:
  // a copy, so that operands keep the numbers they were typed with.
  std::vector<char*> args(argv, argv + argc);
  args.push_back(nullptr);
  opterr = 0;
  optind = 0;  // a fresh scan on every call, for glibc and mingw-w64 alike
  for (int id; command.error.empty() && (id = getopt_long(argc, args.data(), kShortOptions, kLongOptions, nullptr)) != -1;) {
    command.error = id == '?' || id == ':' ? OptionError(args[optind - 1], optopt < 256 ? optopt : 0)
                                           : Apply(id, optarg ? optarg : "", command);
  }
  if (!command.error.empty()) return command;
  for (int i = optind; i < argc; ++i) {
    const int typed = static_cast<int>(std::find(argv, argv + argc, args[i]) - argv);
    command.values.emplace_back(typed, args[i]);
    command.sets.files.push_back(args[i]);
  }
  command.sets.form = command.ranges  ? SetForm::Ranges
                      : command.toInt ? SetForm::Integers
                      : command.expand ? SetForm::Expand
                                       : SetForm::Networks;
  command.sets.hex = command.options.hex;
  command.sets.ipv6 = command.options.ipv6;
  command.error = ConflictOf(command);
  command.options.direction = command.toInt  ? Direction::ToInteger
                              : command.toIp ? Direction::ToAddress
                                             : Direction::Auto;
  return command;
}

}  // namespace quadsum_cli
