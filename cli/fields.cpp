#include "cli/fields.h"

namespace quadsum_cli {

// The end of the field starting at text[start]: the next delimiter or the
// end of the text; for a quoted field, the first delimiter after its closing
// quote (none when the quote never closes). Sets how it was quoted.
std::size_t FieldSplitter::FieldEnd(std::string_view text, std::size_t start, Quoting& quoting) const {
  quoting = Quoting::Regular;
  std::size_t from = start;
  if (quotes_ && start < text.size() && text[start] == '"') {
    std::size_t quote = text.find('"', start + 1);
    while (quote != std::string_view::npos && quote + 1 < text.size() && text[quote + 1] == '"') {
      quote = text.find('"', quote + 2);
    }
    if (quote == std::string_view::npos) {
      quoting = Quoting::NotClosed;
      return text.size();
    }
    from = quote + 1;
    if (from < text.size() && text[from] != delimiter_) quoting = Quoting::TextAfterQuote;
  }
  const std::size_t stop = text.find(delimiter_, from);
  return stop == std::string_view::npos ? text.size() : stop;
}

// The quoted field's text inside its quotes, "" read as one quote, and any
// text after the closing quote as it is.
std::string_view FieldSplitter::Unquoted(std::string_view quoted) {
  const std::string_view inner = quoted.substr(1, quoted.size() - 2);
  if (quoted.size() >= 2 && quoted.back() == '"' && inner.find('"') == std::string_view::npos) return inner;
  unquoted_.clear();
  std::size_t i = 1;
  for (; i < quoted.size(); ++i) {
    if (quoted[i] == '"' && (i + 1 == quoted.size() || quoted[i + 1] != '"')) {
      ++i;  // past the closing quote
      break;
    }
    unquoted_ += quoted[i];
    if (quoted[i] == '"') ++i;  // the second of a doubled quote
  }
  return unquoted_.append(quoted.substr(i));
}

Field FieldSplitter::Split(std::string_view line, bool mayQuote) {
  quotes_ = delimiter_ == ',' && mayQuote;
  const std::string_view text = !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
  Field field;
  field.problem = FieldProblem::TooFewFields;
  for (std::size_t number = 1, start = 0;; ++number) {
    Quoting quoting;
    const std::size_t stop = FieldEnd(text, start, quoting);
    if (quoting != Quoting::Regular && field.badlyQuoted == 0) {
      field.quoting = quoting;
      field.badlyQuoted = number;
    }
    if (number == number_) {
      const std::string_view value = text.substr(start, stop - start);
      field.problem = FieldProblem::None;
      field.before = text.substr(0, start);
      field.value = value.starts_with('"') && quotes_ ? Unquoted(value) : value;
      field.after = line.substr(stop);
    }
    // The rest is read only for quotes it may hold.
    const bool rest = number < number_ ||
                      (quotes_ && field.badlyQuoted == 0 && text.find('"', stop) != std::string_view::npos);
    if (stop == text.size() || !rest) return field;
    start = stop + 1;
  }
}

}  // namespace quadsum_cli
