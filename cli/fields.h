#pragma once

// One field of a delimited line, for --field: where it lies and its value.
// With a comma as the delimiter a field may be quoted as in RFC 4180
// (delimiters inside, "" for a quote); a line is always one line.

#include <cstddef>
#include <string>
#include <string_view>

namespace quadsum_cli {

enum class FieldProblem { None, TooFewFields, BadQuotes };

struct Field {
  FieldProblem problem = FieldProblem::None;
  std::string_view before;  // the line up to the field
  std::string_view value;   // the field, unquoted
  std::string_view after;   // the rest of the line from the delimiter after the field, its CR included
};

class FieldSplitter {
 public:
  FieldSplitter(std::size_t number, char delimiter) : number_(number), delimiter_(delimiter) {}

  // Field `number` (from 1) of the line (without its LF); the value may
  // point into the splitter, until the next call.
  Field Split(std::string_view line);

 private:
  std::size_t QuotedEnd(std::string_view text, std::size_t start) const;
  std::string_view Unquoted(std::string_view quoted);

  std::size_t number_;
  char delimiter_;
  std::string unquoted_;
};

}  // namespace quadsum_cli
