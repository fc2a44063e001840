#pragma once

// Block I/O for the console program: lines read from a file descriptor in
// large blocks, output gathered into one large buffer and written per block.
// Memory stays constant whatever the input, over-long lines included.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quadsum_cli {

// Longest line kept; a longer one is invalid and only counted to its end.
inline constexpr std::size_t kMaxLineLength = 4096;

// True when the descriptor is a terminal.
bool IsTerminal(int fd);

// read(2) on the descriptor, or its Windows twin: bytes read, 0 at the end,
// negative on an error (errno set).
long ReadSome(int fd, char* into, std::size_t n);

class Output {
 public:
  explicit Output(int fd, std::size_t size = std::size_t{1} << 20);

  // Room for n (at most half the buffer) bytes at the returned pointer; commit
  // what was written with Commit(end).
  char* Room(std::size_t n);
  void Commit(char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
  void Append(std::string_view text) {
    if (buffer_.size() - used_ < text.size()) return AppendLong(text);
    std::copy(text.begin(), text.end(), buffer_.data() + used_);
    used_ += text.size();
  }

  // Writes what is gathered; false once any write has failed.
  bool Flush();
  bool failed() const { return error_ != 0; }
  int error() const { return error_; }  // errno of the failed write, or 0

 private:
  void AppendLong(std::string_view text);

  int fd_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  int error_ = 0;
};

struct Line {
  std::string_view text;  // without LF; for an over-long line, its start
  std::uint64_t length;   // the full length of the line, without a CR at its end
  std::string_view end;   // "\n", "\r\n", or "" for a last line without LF
  bool ended() const { return !end.empty(); }
  bool overlong() const { return length > kMaxLineLength; }
};

class LineReader {
 public:
  // Output is flushed before every read, so what is answered so far is out
  // before the program waits for more input.
  LineReader(int fd, Output& output);

  // The next line; false at the end of input (or on a read error). A last
  // line without LF counts; an empty stream has no line. With copyTo the
  // line is also written there as it came, end included, whatever its length.
  bool Next(Line& line, Output* copyTo = nullptr);
  // Skips a UTF-8 byte-order mark at the reader's position (call it at the
  // start of the stream, where editors write one).
  void SkipByteOrderMark();
  // The read bytes not yet taken as lines, and taking n of them, whole lines.
  std::string_view Pending() const { return {buffer_.data() + begin_, end_ - begin_}; }
  void Consume(std::size_t n) { begin_ += n; }
  int error() const { return error_; }  // errno of a failed read, or 0
  // Whether the text of the latest line may hold a '"'. The next quote in
  // the bytes read is looked for once, then known for every line before it.
  bool MayHoldQuote(std::string_view text);

 private:
  bool Refill();
  bool SkipOverlong(Line& line, Output* copyTo);

  int fd_;
  Output& output_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0, end_ = 0;
  bool atEnd_ = false;
  int error_ = 0;
  std::string overlongStart_;
  std::size_t nextQuote_ = 0;     // where in buffer_ the next quote is, or end_
  bool nextQuoteKnown_ = false;   // until bytes move or are read
};

}  // namespace quadsum_cli
