#include "cli/fields.h"

namespace quadsum_cli {

// The end of the quoted field starting at text[start] (past its closing
// quote, which must end the line or come before a delimiter); npos when
// the quote is not closed there.
std::size_t FieldSplitter::QuotedEnd(std::string_view text, std::size_t start) const {
  for (std::size_t i = start + 1;;) {
    const std::size_t quote = text.find('"', i);
    if (quote == std::string_view::npos) return quote;
    if (quote + 1 < text.size() && text[quote + 1] == '"') {
      i = quote + 2;
      continue;
    }
    if (quote + 1 == text.size() || text[quote + 1] == delimiter_) return quote + 1;
    return std::string_view::npos;
  }
}

std::string_view FieldSplitter::Unquoted(std::string_view quoted) {
  const std::string_view inner = quoted.substr(1, quoted.size() - 2);
  if (inner.find('"') == std::string_view::npos) return inner;
  unquoted_.clear();
  for (std::size_t i = 0; i < inner.size(); ++i) {
    unquoted_ += inner[i];
    if (inner[i] == '"') ++i;  // the second of a doubled quote
  }
  return unquoted_;
}

Field FieldSplitter::Split(std::string_view line) {
  const std::string_view text = !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
  const bool quotes = delimiter_ == ',';
  for (std::size_t number = 1, start = 0;; ++number) {
    const bool quoted = quotes && start < text.size() && text[start] == '"';
    std::size_t stop = quoted ? QuotedEnd(text, start) : text.find(delimiter_, start);
    if (quoted && stop == std::string_view::npos) return {FieldProblem::BadQuotes, {}, {}, {}};
    if (stop == std::string_view::npos) stop = text.size();
    if (number == number_) {
      const std::string_view field = text.substr(start, stop - start);
      return {FieldProblem::None, text.substr(0, start), quoted ? Unquoted(field) : field, line.substr(stop)};
    }
    if (stop == text.size()) return {FieldProblem::TooFewFields, {}, {}, {}};
    start = stop + 1;
  }
}

}  // namespace quadsum_cli
