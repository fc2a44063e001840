#pragma once

// The console program: options, values from arguments and standard input,
// messages and exit status.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/ip_value.h"

namespace quadsum_cli {

inline constexpr int kAllConverted = 0, kSomeInvalid = 1, kUsageOrIoError = 2;

struct Descriptors {
  int in = 0, out = 1, err = 2;
};

// Runs with the given arguments on the descriptors (--help, --version and
// usage errors go to stdout and stderr); returns the exit status.
int Run(int argc, char** argv, const Descriptors& fds = {});

// For messages of the set modes: a value in quotes (cut after 40 bytes,
// its full length told) and what is wrong with a value.
std::string QuotedValue(std::string_view value, std::uint64_t length);
const char* VerdictText(quadsum::Verdict verdict);

}  // namespace quadsum_cli
