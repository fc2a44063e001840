#pragma once

// The console program: options, values from arguments and standard input,
// messages and exit status.

namespace quadsum_cli {

inline constexpr int kAllConverted = 0, kSomeInvalid = 1, kUsageOrIoError = 2;

// Runs with the given arguments on file descriptors 0 and 1, messages on
// stderr; returns the exit status.
int Run(int argc, char** argv);

}  // namespace quadsum_cli
