#pragma once

// The console program: options, values from arguments and standard input,
// messages and exit status.

namespace quadsum_cli {

inline constexpr int kAllConverted = 0, kSomeInvalid = 1, kUsageOrIoError = 2;

struct Descriptors {
  int in = 0, out = 1, err = 2;
};

// Runs with the given arguments on the descriptors (--help, --version and
// usage errors go to stdout and stderr); returns the exit status.
int Run(int argc, char** argv, const Descriptors& fds = {});

}  // namespace quadsum_cli
