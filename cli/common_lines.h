#pragma once

// The common shape of input lines, converted straight from the read block in
// one pass: a strict IPv4 or IPv6 address or an integer (decimal or 0x)
// alone on its line, ended by LF (or CR LF), the whole line within
// quadsum::kLongLine bytes (core/number_lines.h). Every other line is left
// to Convert; a line taken here gives exactly the text Convert gives for it.

#include <cstddef>
#include <string_view>

#include "cli/convert.h"

namespace quadsum_cli {

// Output room one line takes at most: an IPv6 address or number and its LF.
inline constexpr std::size_t kCommonLineRoom = quadsum::kNumberRoom + 1;

struct CommonLines {
  std::size_t consumed;  // input bytes taken, whole lines with their LF
  std::size_t lines;     // lines taken
  char* out;             // end of the text written
  bool full;             // stopped for want of output room, not at a line
};

// Which line parse runs: SSSE3 where the processor has it (the default), or
// the portable one, which the fuzzer also checks.
enum class LineParse { Fastest, Portable };

// Converts lines from the start of in while they have the common shape,
// stopping at the first other line, at the last kShortLine bytes of in (a
// line there may be cut off), or when [out, outEnd) has no room for another
// line.
CommonLines ConvertCommonLines(std::string_view in, const Options& options, char* out, char* outEnd,
                               LineParse parse = LineParse::Fastest);

}  // namespace quadsum_cli
