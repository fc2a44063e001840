#pragma once

// One field of a delimited line, for --field: where it lies and its value.
// With a comma as the delimiter a field may be quoted as in CSV (delimiters
// inside, "" for a quote), read as spreadsheets read it: text after the
// closing quote belongs to the field, and a quote that never closes runs to
// the end of the line. A line is always one line.

#include <cstddef>
#include <string>
#include <string_view>

namespace quadsum_cli {

enum class FieldProblem { None, TooFewFields };
enum class Quoting { Regular, TextAfterQuote, NotClosed };

struct Field {
  FieldProblem problem = FieldProblem::None;
  std::string_view before{};  // the line up to the field
  std::string_view value{};   // the field, unquoted
  std::string_view after{};   // the rest of the line from the delimiter after the field
  Quoting quoting = Quoting::Regular;  // of the first field of the line not quoted regularly
  std::size_t badlyQuoted = 0;         // that field's number, 0 when none
};

class FieldSplitter {
 public:
  FieldSplitter(std::size_t number, char delimiter) : number_(number), delimiter_(delimiter) {}

  // Field `number` (from 1) of the line (without its line end; a CR ending
  // it is left out); the value may point into the splitter, until the next
  // call. The whole line is read for its quoting, unless the caller knows
  // it holds no quote.
  Field Split(std::string_view line, bool mayQuote = true);

 private:
  std::size_t FieldEnd(std::string_view text, std::size_t start, Quoting& quoting) const;
  std::string_view Unquoted(std::string_view quoted);

  std::size_t number_;
  char delimiter_;
  bool quotes_ = false;  // quotes are read in the line at hand
  std::string unquoted_;
};

}  // namespace quadsum_cli
