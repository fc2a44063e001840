#pragma once

// The console program's command line: options, their conflicts, and the
// help and version texts.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/convert.h"
#include "cli/sets.h"

namespace quadsum_cli {

extern const char kHelpText[], kVersionText[];

struct Command {
  Options options;
  bool help = false, version = false, lookup = false, toInt = false, toIp = false;
  std::size_t field = 0;  // --field, from 1; 0 without it
  bool header = false, delimiter = false;
  std::vector<std::pair<int, std::string_view>> values;  // argument number, text
  std::string error;                                      // usage error
  // Set modes: how many were named, --ranges and --expand, and the command
  // they make with the values as its files.
  int setModes = 0;
  bool ranges = false, expand = false;
  SetCommand sets;
};

// The arguments as typed; command.error is set on a usage error.
Command Parse(int argc, char** argv);

}  // namespace quadsum_cli
