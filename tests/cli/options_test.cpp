// quadsum-cli's command line as typed, to what it asks for or the usage
// error it prints; the same table runs natively and in the Windows build,
// whose getopt_long is another implementation.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.h"

namespace {

// The command in a few words: what the options set, then the operands with
// the numbers they were typed with; or the error.
std::string Summary(std::vector<std::string> words) {
  std::vector<char*> argv;
  words.insert(words.begin(), "quadsum-cli");
  for (std::string& word : words) argv.push_back(word.data());
  const quadsum_cli::Command c = quadsum_cli::Parse(static_cast<int>(argv.size()), argv.data());
  if (!c.error.empty()) return "error: " + c.error;
  const quadsum_cli::Options& o = c.options;
  std::string text = "dir" + std::to_string(static_cast<int>(o.direction));
  const std::pair<bool, const char*> flags[] = {{c.help, "help"},     {c.version, "version"}, {c.lookup, "lookup"},
                                                {o.lenient, "lenient"}, {o.hex, "hex"},       {o.ipv6, "v6"},
                                                {o.toCidr, "cidr"},   {c.header, "header"}};
  for (const auto& [set, name] : flags) text += set ? std::string(" ") + name : "";
  if (c.field) text += " field" + std::to_string(c.field) + " sep" + std::string(1, o.separator);
  for (const auto& [number, value] : c.values) text += " " + std::to_string(number) + ":" + std::string(value);
  return text;
}

TEST(Options, ReadAsGetoptLongReadsThem) {
  const struct {
    std::vector<std::string> args;
    std::string summary;
  } rows[] = {
      {{}, "dir0"},
      {{"1.2.3.4", "-", "5"}, "dir0 1:1.2.3.4 2:- 3:5"},
      {{"--to-int", "1.2.3.4"}, "dir1 2:1.2.3.4"},
      {{"10", "--to-ip", "--format", "hex", "1.2.3.4"}, "dir2 hex 1:10 5:1.2.3.4"},
      {{"--format=dec", "--format=hex"}, "dir0 hex"},
      {{"--form=h", "--format", "d"}, "dir0"},
      {{"-6", "1", "--ipv6"}, "dir0 v6 2:1"},
      {{"--to-c", "1.0.0.0/8"}, "dir0 cidr 2:1.0.0.0/8"},
      {{"--field", "2", "--delimiter", ",", "--header"}, "dir0 header field2 sep,"},
      {{"--field=3", "--delimiter=;"}, "dir0 field3 sep;"},
      {{"--lenient", "256.0.0.0"}, "dir0 lenient 2:256.0.0.0"},
      {{"--lookup", "localhost", "a.test"}, "dir0 lookup 2:localhost 3:a.test"},
      {{"--", "-1", "--help"}, "dir0 2:-1 3:--help"},
      {{"1", "--", "--to-int"}, "dir0 1:1 3:--to-int"},
      {{"--help", "--bogus"}, "error: unrecognized option '--bogus'"},
      {{"--vers"}, "dir0 version"},
      {{"--format=oct"}, "error: invalid argument 'oct' for '--format'\nValid arguments are:\n  - 'dec'\n  - 'hex'"},
      {{"--format="}, "error: ambiguous argument '' for '--format'\nValid arguments are:\n  - 'dec'\n  - 'hex'"},
      {{"--to"}, "error: option '--to' is ambiguous; possibilities: '--to-int' '--to-ip' '--to-cidr'"},
      {{"--to-i=1"}, "error: option '--to-i' is ambiguous; possibilities: '--to-int' '--to-ip'"},
      {{"--header=yes"}, "error: option '--header' doesn't allow an argument"},
      {{"--field"}, "error: option '--field' requires an argument"},
      {{"--delim"}, "error: option '--delimiter' requires an argument"},
      {{"-x"}, "error: invalid option -- 'x'"},
      {{"-66y"}, "error: invalid option -- 'y'"},
      {{"-1"}, "error: invalid option -- '1'"},
      {{"--field=0"}, "error: fields are numbered from 1"},
      {{"--field=2x"}, "error: invalid field number '2x'"},
      {{"--field=-1"}, "error: invalid field number '-1'"},
      {{"--field=18446744073709551616"}, "error: field number '18446744073709551616' is too large"},
      {{"--field=1", "--delimiter="}, "error: the delimiter must be a single byte"},
      {{"--field=1", "--delimiter", ""}, "error: the delimiter must be a single byte"},
      {{"--field=1", "--delimiter=::"}, "error: the delimiter must be a single byte"},
      {{"--field=1", "--delimiter=\""}, "error: the delimiter cannot be a quote, CR or LF"},
      {{"--to-int", "--to-ip"}, "error: --to-int and --to-ip exclude each other"},
      {{"--lenient", "--format=hex"}, "error: --lenient prints the window's text, never hex"},
      {{"--lenient", "-6"}, "error: --lenient reads plain IPv4 values only: no -6 or --to-cidr"},
      {{"--to-cidr", "--to-int"}, "error: --to-cidr prints networks: no --to-int, --to-ip or --format=hex"},
      {{"--lookup", "--to-int", "x"}, "error: --lookup takes no conversion option"},
      {{"--lookup"}, "error: --lookup needs at least one HOST"},
      {{"--field=1", "1.2.3.4"}, "error: --field takes no value arguments: it reads standard input"},
      {{"--header"}, "error: --header and --delimiter need --field"},
  };
  for (const auto& row : rows) {
    std::string typed;
    for (const std::string& arg : row.args) typed += " " + arg;
    EXPECT_EQ(Summary(row.args), row.summary) << "quadsum-cli" << typed;
  }
}

}  // namespace
